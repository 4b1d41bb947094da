#!/usr/bin/env bash
# Makes docs/web.png (the phone page, 390×844), docs/tabule.png (the big screen, 1920×1080) and
# docs/tabule-na-trati.png (the big screen during a run): headless Chromium on `vysledky --web`
# serving a sample ZAVOD.TXT with a start list, the run from the fake timing program on a private
# bus.
# Run it again after changing the pages: scripts/screenshot-web.sh
set -euo pipefail
# shellcheck source=lib/screenshot.sh
source "$(dirname "$0")/lib/screenshot.sh" vysledky
# shellcheck source=SCRIPTDIR/lib/fake-timing.sh
source scripts/lib/fake-timing.sh
cmake --build build -j"$(nproc)" --target fake-timing-program
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; stop_fake_timing; rm -rf "$work"' EXIT
start_fake_timing

cat >"$work/startovka.csv" <<'LIST'
družstvo;kategorie
SDH Žďár nad Sázavou;muži
Sokol Lhota;muži
Hasiči Třebíč;muži
SDH Nová Ves;ženy
SDH Dolní Újezd;ženy
LIST
{
    first_round
    printf '%s\n' ' dráha c.1 00:00:22:150' ' dráha c.2 00:00:21:870'
    last_attempts
    printf '%s\n' ' dráha c.2 00:00:17:204'
} | as_log "$work/ZAVOD.TXT"

port=$((20000 + RANDOM % 20000))
build/vysledky/vysledky --web "127.0.0.1:$port" --startovka "$work/startovka.csv" \
    "$work/ZAVOD.TXT" >/dev/null &
server=$!
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
# The live stream keeps a request open, which stops the browser's virtual time: real time, then.
shoot() { # size, path, picture
    chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$work/profile" \
        --window-size="$1" --timeout=3000 --screenshot="$PWD/docs/$3" \
        "http://127.0.0.1:$port$2" 2>/dev/null
}
shoot 390,844 / web.png
shoot 1920,1080 /tabule tabule.png
# SDH Dolní Újezd on the track: lane 1 in, lane 2 still running.
timing "team SDH Dolní Újezd"
timing "start 18200"
timing "lane1 00:00:17:871"
shoot 1920,1080 /tabule tabule-na-trati.png
