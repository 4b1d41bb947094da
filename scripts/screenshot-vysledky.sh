#!/usr/bin/env bash
# Makes docs/vysledky.png: the results viewer under Xvfb, reading a sample ZAVOD.TXT written
# as the timing program writes it (Windows-1250, CR LF, names after the name box's space).
# Run it again after changing the window: scripts/screenshot-vysledky.sh
set -euo pipefail
# shellcheck source=lib/screenshot.sh
source "$(dirname "$0")/lib/screenshot.sh" vysledky
out=$PWD/docs/vysledky.png

{ first_round; cat; last_attempts; } <<'EOF' | as_log "$work/ZAVOD.TXT"
STOP ZAVODU TLACITKEM 00:00:45:210
 SDH Žďár nad Sázavou
 dráha c.1 00:00:17:811
 dráha c.2 00:00:18:104
 Sokol Lhota
 dráha c.2 00:00:19:350
 dráha c.1 00:00:18:990
 
 dráha c.1 00:00:18:533
 dráha c.2 00:00:18:720
EOF
# The results desk: a judges' decision beside the log; the nameless attempt waits for a name.
printf '\xef\xbb\xbf%s\r\n%s\r\n' 'čas;pokus;otisk;rozhodnutí;hodnota;důvod' \
    '2026-06-14 10:32:05;7;00:00:17:811|00:00:18:104|platný;neplatný;;shozený terč před startem' \
    >"$work/ZAVOD.opravy.csv"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    cd "$1"
    "$2" -geometry 1024x768+0+0 ZAVOD.TXT & program=$!
    xdotool search --sync --onlyvisible --class vysledky >/dev/null
    sleep 1.5
    import -window root "$3"
    kill "$program"
' _ "$work" "$PWD/build/vysledky/vysledky" "$out"
echo "wrote $out"
