#!/bin/bash
# quorvel schedules reads a data folder without changing a byte of it, and
# refuses a folder that does not exist without making one.
QUORVEL=$1
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
export XDG_RUNTIME_DIR=$W/run XDG_CONFIG_HOME=$W/config
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
"$QUORVEL" --headless --simulate --data-dir "$W/d" --exit-after 1 >/dev/null 2>&1 || { echo "set-up run failed"; exit 1; }
before=$(cd "$W/d" && find . -type f -exec sha1sum {} + | sort)
"$QUORVEL" schedules --data-dir "$W/d" --date 2026-06-01 >"$W/list" 2>&1 || { cat "$W/list"; echo "schedules failed"; exit 1; }
after=$(cd "$W/d" && find . -type f -exec sha1sum {} + | sort)
[ "$before" == "$after" ] || { diff <(echo "$before") <(echo "$after"); echo "schedules changed the data folder"; exit 1; }
if "$QUORVEL" schedules --data-dir "$W/missing" 2>"$W/err"; then echo "a missing folder was accepted"; exit 1; fi
grep -q "does not exist" "$W/err" || { cat "$W/err"; echo "no clear message"; exit 1; }
[ ! -e "$W/missing" ] || { echo "the missing folder was created"; exit 1; }
if "$QUORVEL" energy-report --from 2026-01-01 --to 2026-01-02 --data-dir "$W/missing" 2>/dev/null; then exit 1; fi
[ ! -e "$W/missing" ] || { echo "energy-report created the missing folder"; exit 1; }
"$QUORVEL" schedules --help | head -1 | grep -qx "Usage: quorvel schedules \[options\]" || { echo "the help names no command"; exit 1; }
echo "schedules left the folder as it was; a missing folder is refused"
