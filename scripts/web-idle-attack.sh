#!/usr/bin/env bash
# The idle-connection attack on `vysledky --web`, on loopback only and bounded: the server starts
# with the desktop's usual soft limit of 1,024 open files, one client opens 1,100 connections
# that send nothing and holds them; meanwhile a normal request is timed three times and the
# server's CPU is measured over 5 s. Then a single idle connection is timed until the server
# closes it (at most 40 s). scripts/web-idle-attack.sh [--hard] [--live N]   (--hard: the hard
# limit is 1,024 too, so the program cannot raise it and only the connection cap protects it;
# --live N: N other clients hold the live channel /na-trati open through the attack, and how
# many of them the server kept is counted at the end)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vysledky >/dev/null
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
printf ' SDH Lhota\r\n dr\xe1ha c.1 00:00:17:250\r\n dr\xe1ha c.2 00:00:18:003\r\n' >"$work/ZAVOD.TXT"
limit="-S -n 1024" live=0
while [ $# -gt 0 ]; do
    case "$1" in
    --hard) limit="-n 1024" ;;
    --live) live=$2 && shift ;;
    *) echo "usage: $0 [--hard] [--live N]" >&2 && exit 2 ;;
    esac
    shift
done
port=$((20000 + RANDOM % 20000))
(ulimit $limit && exec build/vysledky/vysledky --web "127.0.0.1:$port" "$work/ZAVOD.TXT") \
    >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
echo "server open-file limit (soft/hard): $(awk '/Max open files/ { print $4 "/" $5 }' \
    "/proc/$server/limits")"

python3 - "$port" "$server" "$live" <<'PY'
import resource, socket, subprocess, sys, time
port, pid, live = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
hard = resource.getrlimit(resource.RLIMIT_NOFILE)[1]
resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, 4096), hard))
ticks = 100  # clock ticks per second of /proc/PID/stat

def cpu():
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / ticks

def still_open(s):
    s.setblocking(False)
    try:
        return s.recv(65536) != b""
    except BlockingIOError:
        return True
    except OSError:
        return False

viewers = []
for _ in range(live):
    s = socket.create_connection(("127.0.0.1", port))
    s.sendall(f"GET /na-trati HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode())
    viewers.append(s)
if live:
    time.sleep(1)
    print(f"live viewers holding /na-trati: {sum(still_open(s) for s in viewers)}")

idle = []
for _ in range(1100):
    s = socket.socket()
    s.settimeout(2)
    try:
        s.connect(("127.0.0.1", port))
        idle.append(s)
    except OSError as error:
        print("connect failed:", error)
        s.close()
print(f"idle connections opened: {len(idle)}")
time.sleep(1)
for attempt in range(3):
    started = time.monotonic()
    result = subprocess.run(["curl", "-s", "-o", "/dev/null", "-w", "%{http_code}", "-m", "10",
                             f"http://127.0.0.1:{port}/data.json"], capture_output=True, text=True)
    print(f"normal request {attempt + 1}: HTTP {result.stdout}, "
          f"{(time.monotonic() - started) * 1000:.0f} ms")
before, started = cpu(), time.monotonic()
time.sleep(5)
print(f"server CPU while held: {(cpu() - before) / (time.monotonic() - started) * 100:.1f} % of a core")
closed = 0
for s in idle:
    s.setblocking(False)
    try:
        closed += s.recv(1) == b""
    except BlockingIOError:
        pass
    except OSError:
        closed += 1
print(f"attacker's connections closed by the server so far: {closed} of {len(idle)}")
for s in idle:
    s.close()
if live:
    print(f"live viewers still held after the attack: {sum(still_open(s) for s in viewers)} of {live}")

s = socket.create_connection(("127.0.0.1", port))
s.settimeout(40)
started = time.monotonic()
try:
    data = s.recv(1)
    print(f"a connection that sends nothing closed after {time.monotonic() - started:.1f} s")
except socket.timeout:
    print("a connection that sends nothing still open after 40 s")
PY
