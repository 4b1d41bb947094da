#!/usr/bin/env bash
# Makes docs/web.png (the phone page, 390×844) and docs/tabule.png (the big screen, 1920×1080):
# headless Chromium on `vysledky --web` serving a sample ZAVOD.TXT with a start list.
# Run it again after changing the pages: scripts/screenshot-web.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vysledky >/dev/null
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

cat >"$work/startovka.csv" <<'LIST'
družstvo;kategorie
SDH Žďár nad Sázavou;muži
Sokol Lhota;muži
Hasiči Třebíč;muži
SDH Nová Ves;ženy
SDH Dolní Újezd;ženy
LIST
sed 's/$/\r/' <<'LOG' | iconv -f UTF-8 -t WINDOWS-1250 >"$work/ZAVOD.TXT"
 SDH Žďár nad Sázavou
 dráha c.2 00:00:18:412
 dráha c.1 00:00:19:077
 Sokol Lhota
 Start anulovan 
 dráha c.1 00:00:17:950
 dráha c.2 00:00:18:104
 SDH Nová Ves
 dráha c.1 00:00:21:336
 Diskvalifikace 
 Hasiči Třebíč
 dráha c.2 00:00:17:640
 dráha c.1 00:00:17:902
 SDH Dolní Újezd
 dráha c.1 00:00:22:150
 dráha c.2 00:00:21:870
 SDH Nová Ves
 dráha c.1 00:00:20:015
 dráha c.2 00:00:20:433
 Hasiči Třebíč
 dráha c.1 00:00:16:998
 dráha c.2 00:00:17:204
LOG

port=$((20000 + RANDOM % 20000))
build/vysledky/vysledky --web "127.0.0.1:$port" --startovka "$work/startovka.csv" \
    "$work/ZAVOD.TXT" >/dev/null &
server=$!
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
shoot() { # size, path, picture
    chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$work/profile" \
        --window-size="$1" --virtual-time-budget=1500 --screenshot="$PWD/docs/$3" \
        "http://127.0.0.1:$port$2" 2>/dev/null
}
shoot 390,844 / web.png
shoot 1920,1080 /tabule tabule.png
