#!/usr/bin/env bash
# Makes docs/vysledky.png: the results viewer under Xvfb, reading a sample ZAVOD.TXT written
# as the timing program writes it (Windows-1250, CR LF, names after the name box's space).
# Run it again after changing the window: scripts/screenshot-vysledky.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vysledky
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work
trap 'rm -rf "$work"' EXIT
out=$PWD/docs/vysledky.png

sed 's/$/\r/' <<'EOF' | iconv -f UTF-8 -t WINDOWS-1250 >"$work/ZAVOD.TXT"
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
STOP ZAVODU TLACITKEM 00:00:45:210
 SDH Žďár nad Sázavou
 dráha c.1 00:00:17:811
 dráha c.2 00:00:18:104
 Sokol Lhota
 dráha c.2 00:00:19:350
 dráha c.1 00:00:18:990
 SDH Nová Ves
 dráha c.1 00:00:20:015
 dráha c.2 00:00:20:433
 Hasiči Třebíč
 dráha c.1 00:00:16:998
EOF

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    cd "$1"
    "$2" -geometry 1024x768+0+0 ZAVOD.TXT & program=$!
    xdotool search --sync --onlyvisible --class vysledky >/dev/null
    sleep 1.5
    import -window root "$3"
    kill "$program"
' _ "$work" "$PWD/build/vysledky/vysledky" "$out"
echo "wrote $out"
