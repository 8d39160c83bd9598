#!/bin/bash
# The README's socat line against a real headless Quorvel on the simulator:
# every one of twenty runs gets its reply.
QUORVEL=$1
command -v socat >/dev/null || { echo "socat is not installed: skipped"; exit 77; }
W=$(mktemp -d)
export XDG_RUNTIME_DIR=$W/run XDG_CONFIG_HOME=$W/config
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
"$QUORVEL" --headless --simulate --data-dir "$W/data" >"$W/out" 2>&1 &
Q=$!
trap 'kill $Q 2>/dev/null; wait $Q; rm -rf "$W"' EXIT
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/quorvel-exchange" ] && break
    sleep 0.1
done
replies=$(for _ in $(seq 20); do
    echo 'GET StatusArea12' | socat - UNIX-CONNECT:$XDG_RUNTIME_DIR/quorvel-exchange
done | grep -c '^OK')
echo "replies: $replies of 20"
[ "$replies" -eq 20 ]
