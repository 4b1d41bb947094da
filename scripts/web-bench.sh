#!/usr/bin/env bash
# Load figures of the results on the network: wrk (2 threads, 200 connections, 30 s) against
# /data.json of `vysledky --web` on loopback, with a generated log of 40 teams and 400 attempts
# in 4 categories. Prints requests/s, p99 latency, errors and the server's resident memory
# before and after the run. scripts/web-bench.sh [--quick]   (--quick: 3 s, 20 connections)
set -euo pipefail
cd "$(dirname "$0")/.."
duration=30s connections=200
if [ "${1:-}" = "--quick" ]; then duration=3s connections=20; fi
command -v wrk >/dev/null || scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vysledky >/dev/null
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

categories=(muži ženy dorost veteráni)
{
    echo "družstvo;kategorie"
    for team in $(seq 1 40); do echo "SDH Tým $team;${categories[team % 4]}"; done
} >"$work/startovka.csv"
# 10 rounds of 40 teams, each attempt two lane times, in the timing program's own bytes.
for round in $(seq 0 9); do
    for team in $(seq 1 40); do
        printf ' SDH Tým %d\n dráha c.1 00:00:%02d:%03d\n dráha c.2 00:00:%02d:%03d\n' \
            "$team" $((16 + (team + round) % 7)) $(((team * 37 + round * 11) % 1000)) \
            $((16 + (team * 3 + round) % 7)) $(((team * 53 + round * 7) % 1000))
    done
done | sed 's/$/\r/' | iconv -f UTF-8 -t WINDOWS-1250 >"$work/ZAVOD.TXT"

port=$((20000 + RANDOM % 20000))
url="http://127.0.0.1:$port/data.json"
build/vysledky/vysledky --web "127.0.0.1:$port" --startovka "$work/startovka.csv" \
    "$work/ZAVOD.TXT" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do curl -sf -o /dev/null "$url" && break; sleep 0.1; done
rss() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$server/status"; }
bytes=$(curl -sf "$url" | wc -c)
before=$(rss)
wrk -t2 -c"$connections" -d"$duration" --latency "$url" >"$work/wrk.txt"
sleep 1
after=$(rss)

awk -v before="$before" -v after="$after" -v bytes="$bytes" -v c="$connections" -v d="$duration" '
    /Requests\/sec/ { rate = $2 }
    /^ +99%/ { p99 = $2 }
    /requests in/ { total = $1 }
    /Socket errors/ { sub(/.*Socket errors: /, ""); socket = $0 }
    /Non-2xx/ { non2xx = $NF }
    END {
        printf "wrk -t2 -c%d -d%s on /data.json (%d bytes)\n", c, d, bytes
        printf "%-28s %12s\n", "requests", total
        printf "%-28s %12s\n", "requests/s", rate
        printf "%-28s %12s\n", "latency p99", p99
        printf "%-28s %12s\n", "socket errors", socket == "" ? "none" : socket
        printf "%-28s %12s\n", "non-2xx answers", non2xx == "" ? 0 : non2xx
        printf "%-28s %12s\n", "server RSS before (MB)", before
        printf "%-28s %12s\n", "server RSS after (MB)", after
    }' "$work/wrk.txt"
