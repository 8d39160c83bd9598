#!/bin/bash
# quorvel --headless --simulate killed with SIGKILL leaves no quorvel-sim behind.
QUORVEL=$1
W=$(mktemp -d)
export XDG_RUNTIME_DIR=$W/run XDG_CONFIG_HOME=$W/config
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
"$QUORVEL" --headless --simulate --data-dir "$W/d" >/dev/null 2>&1 &
Q=$!
SIM=
for _ in $(seq 100); do
    SIM=$(ps -o pid= --ppid $Q | tr -d ' ' | head -1)
    [ -n "$SIM" ] && [ -S "$XDG_RUNTIME_DIR/quorvel-exchange" ] && break
    sleep 0.1
done
[ -n "$SIM" ] || { kill $Q; echo "no simulator was started"; exit 1; }
kill -9 $Q
wait $Q 2>/dev/null
for _ in $(seq 50); do
    kill -0 "$SIM" 2>/dev/null || { rm -rf "$W"; echo "quorvel-sim $SIM ended with the program"; exit 0; }
    sleep 0.1
done
kill "$SIM"
echo "quorvel-sim $SIM outlived the program"
exit 1
