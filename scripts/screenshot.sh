#!/usr/bin/env bash
# Makes docs/window.png: the real program under Xvfb, after the start-up messages that a
# machine without serial ports shows ("COM1 OBSAZEN", "COM NENALEZEN") have been closed.
# Run it again after changing the window: scripts/screenshot.sh
set -euo pipefail
# shellcheck source=lib/screenshot.sh
source "$(dirname "$0")/lib/screenshot.sh" tavorin
out=$PWD/docs/window.png

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    cd "$1"
    # In a private mount namespace every device COM1 and COM2 can lead to is /dev/null: no
    # serial port of this machine is touched, and the program says so in its first message.
    TAVORIN_REALTIME=0 unshare --mount -- sh -c "
        for d in /dev/COM1 /dev/COM2 /dev/ttyS0 /dev/ttyS1; do
            if [ -e \$d ]; then mount --bind /dev/null \$d || exit 111; fi
        done
        exec \"\$0\"" "$2" & program=$!
    # Close each start-up message as it appears, then wait for the main window.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        sleep 0.5
        xdotool search --onlyvisible --name "^TAVORIN V.02$" >/dev/null 2>&1 && xdotool key Return || true
        if xdotool search --onlyvisible --name "Lisk TAVORIN" >/dev/null 2>&1; then break; fi
    done
    sleep 1.5
    window=$(xdotool search --onlyvisible --name "Lisk TAVORIN" | head -n1)
    import -window "$window" "$3"
    kill "$program"
' _ "$work" "$PWD/build/app/tavorin" "$out"
echo "wrote $out"
