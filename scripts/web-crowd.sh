#!/usr/bin/env bash
# The live channel under a crowd, on loopback: `vysledky --web` following the fake timing
# program on a private session bus, VIEWERS clients holding /na-trati (default 1,000) through
# RUNS runs (team, start, lane 1, lane 2, finish; default 10). Prints the push latency (from the
# moment the timing program made the change to a client's receipt, both on this PC's
# CLOCK_MONOTONIC), the server's CPU over the runs and its resident memory.
# With --browser, one headless Chromium on /tabule instead: the latency to the page's DOM and the
# page's clock against the published running time.
# scripts/web-crowd.sh [--viewers N] [--runs R] [--browser]
set -euo pipefail
cd "$(dirname "$0")/.."
viewers=1000 runs=10 browser=
while [ $# -gt 0 ]; do
    case "$1" in
    --viewers) viewers=$2 && shift ;;
    --runs) runs=$2 && shift ;;
    --browser) browser=1 ;;
    *) echo "usage: $0 [--viewers N] [--runs R] [--browser]" >&2 && exit 2 ;;
    esac
    shift
done
if ! command -v dbus-daemon >/dev/null || ! command -v python3 >/dev/null; then
    scripts/install-deps.sh
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vysledky fake-timing-program >/dev/null
work=$(mktemp -d)
server=
# shellcheck source=SCRIPTDIR/lib/fake-timing.sh
source scripts/lib/fake-timing.sh
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; stop_fake_timing; rm -rf "$work"' EXIT
start_fake_timing
printf ' SDH Lhota\r\n dr\xe1ha c.1 00:00:17:250\r\n dr\xe1ha c.2 00:00:18:003\r\n' >"$work/ZAVOD.TXT"
port=$((20000 + RANDOM % 20000))
build/vysledky/vysledky --web "127.0.0.1:$port" "$work/ZAVOD.TXT" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
python3 scripts/lib/web-crowd.py "$port" "$server" "$work" "$viewers" "$runs" "$browser"
