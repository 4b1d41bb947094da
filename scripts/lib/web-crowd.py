"""The live channel measured, for scripts/web-crowd.sh: arguments PORT SERVER_PID WORK VIEWERS RUNS
BROWSER. Drives the fake timing program through WORK/timing.in and reads the moment of each change
(its CLOCK_MONOTONIC milliseconds) from WORK/timing.out."""
import asyncio, base64, json, os, socket, statistics, struct, subprocess, sys, time
import urllib.request

port, pid, work = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
viewers, runs, browser = int(sys.argv[4]), int(sys.argv[5]), sys.argv[6] == "1"
ticks = os.sysconf("SC_CLK_TCK")
commands = open(f"{work}/timing.in", "w", buffering=1)


def monotonic_ms():
    return time.clock_gettime(time.CLOCK_MONOTONIC) * 1000


def timing(line):
    """Sends a command; returns the timing program's (seq, nowMs) of the change it made."""
    before = len(open(f"{work}/timing.out").read().splitlines())
    commands.write(line + "\n")
    for _ in range(2000):
        lines = open(f"{work}/timing.out").read().splitlines()
        if len(lines) > before:
            seq, now = lines[-1].split()
            return int(seq), int(now)
        time.sleep(0.001)
    raise SystemExit(f"the fake timing program did not answer {line!r}")


def cpu_seconds():
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / ticks


def status(key):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith(key):
            return int(line.split()[1]) / 1024
    return 0.0


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def short(text):
    """00:00:17:204 as the pages show it: 17,204."""
    h, m, s, ms = (int(x) for x in text.split(":"))
    return (f"{h}:{m:02}:{s:02}" if h else f"{m}:{s:02}" if m else f"{s}") + f",{ms:03}"


def log_lines(team, lane1, lane2):
    with open(f"{work}/ZAVOD.TXT", "ab") as log:
        for line in (f" {team}", f" dráha c.1 {lane1}", f" dráha c.2 {lane2}"):
            log.write(line.encode("cp1250") + b"\r\n")


# --- the crowd: plain sockets reading the event stream, in a few processes of their own so that
# one client's queue of 1,000 sockets does not stand for the server's delay ------------------
async def viewer(latencies, in_server, ready):
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    writer.write(f"GET /na-trati HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode())
    await reader.readuntil(b"\r\n\r\n")
    first, started = True, None
    while True:
        try:
            event = await reader.readuntil(b"\n\n")
        except (asyncio.IncompleteReadError, ConnectionError):
            return
        received = monotonic_ms()
        for line in event.split(b"\n"):
            if line.startswith(b"data: "):
                data = json.loads(line[6:])
                if first:
                    first = False
                    ready.append(1)
                elif "zdrojMs" in data:
                    latencies.append(received - data["zdrojMs"])
                    # While running, the event says when it was made: the start plus ubehloMs.
                    if data["bezi"] and not data["draha1"] and not data["draha2"]:
                        started = data["zdrojMs"]
                    elif data["bezi"] and started is not None:
                        in_server.append(started + data["ubehloMs"] - data["zdrojMs"])


async def watch(share, number):
    """One process's viewers: ready once all hold the stream, their latencies at the end."""
    latencies, in_server, ready = [], [], []
    tasks = [asyncio.create_task(viewer(latencies, in_server, ready)) for _ in range(share)]
    while len(ready) < share:
        await asyncio.sleep(0.05)
    open(f"{work}/ready{number}", "w").close()
    while not os.path.exists(f"{work}/done"):
        await asyncio.sleep(0.1)
    json.dump([latencies, in_server], open(f"{work}/latencies{number}", "w"))
    for task in tasks:
        task.cancel()


def crowd():
    processes = 4 if viewers >= 100 else 1
    children = []
    for number in range(processes):
        child = os.fork()
        if child == 0:
            asyncio.run(watch(viewers // processes + (number < viewers % processes), number))
            os._exit(0)
        children.append(child)
    while sum(os.path.exists(f"{work}/ready{n}") for n in range(processes)) < processes:
        time.sleep(0.05)
    print(f"live viewers connected: {viewers} ({processes} client processes); "
          f"load average before: {open('/proc/loadavg').read().split()[0]}")
    rss = []
    cpu_before, started = cpu_seconds(), time.monotonic()
    for run in range(runs):
        for line, pause in ((f"team SDH Tým {run + 1}", 0.1), ("start", 0.5), ("lane1", 0.4),
                            ("lane2", 0.05), ("finish", 0.6)):
            timing(line)
            rss.append(status("VmRSS"))
            time.sleep(pause)
    time.sleep(1)
    cpu = (cpu_seconds() - cpu_before) / (time.monotonic() - started) * 100
    open(f"{work}/done", "w").close()
    for child in children:
        os.waitpid(child, 0)
    measured = [json.load(open(f"{work}/latencies{n}")) for n in range(processes)]
    latencies = [x for both in measured for x in both[0]]
    in_server = [x for both in measured for x in both[1]]
    print(f"events received: {len(latencies)} of {viewers * runs * 4} (start, lane 1, lane 2, "
          f"finish); load average after: {open('/proc/loadavg').read().split()[0]}")
    print(f"push latency p50 {statistics.median(latencies):.1f} ms, "
          f"p99 {percentile(latencies, 0.99):.1f} ms, max {max(latencies):.1f} ms")
    print(f"of which until the server made the lane time's event (bus and vysledky): p50 "
          f"{statistics.median(in_server):.1f} ms, p99 {percentile(in_server, 0.99):.1f} ms")
    print(f"server CPU during the runs: {cpu:.1f} % of a core")
    print(f"server RSS: max {max(rss):.1f} MB during the runs, peak {status('VmHWM'):.1f} MB")


# --- one browser: DevTools over a minimal WebSocket client ----------------------------------
class DevTools:
    def __init__(self, url):
        host, path = url[len("ws://"):].split("/", 1)
        self.sock = socket.create_connection(tuple(host.split(":")[:1]) + (int(host.split(":")[1]),))
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall(f"GET /{path} HTTP/1.1\r\nHost: {host}\r\nUpgrade: websocket\r\n"
                          f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                          "Sec-WebSocket-Version: 13\r\n\r\n".encode())
        head = b""
        while b"\r\n\r\n" not in head:
            head += self.sock.recv(1)
        self.calls = 0

    def exact(self, size):
        data = b""
        while len(data) < size:
            data += self.sock.recv(size - len(data))
        return data

    def call(self, method, **params):
        self.calls += 1
        payload = json.dumps({"id": self.calls, "method": method, "params": params}).encode()
        mask = os.urandom(4)
        size = len(payload)
        head = bytes([0x81]) + (bytes([0x80 | size]) if size < 126 else
                                bytes([0x80 | 126]) + struct.pack(">H", size))
        self.sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))
        while True:
            message = b""
            while True:
                first, second = self.exact(2)
                size = second & 0x7F
                if size == 126:
                    size = struct.unpack(">H", self.exact(2))[0]
                elif size == 127:
                    size = struct.unpack(">Q", self.exact(8))[0]
                message += self.exact(size)
                if first & 0x80:
                    break
            answer = json.loads(message)
            if answer.get("id") == self.calls:
                return answer.get("result", {}).get("result", {}).get("value")

    def until(self, expression, seconds=10):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
            if value is not None:
                return value
            time.sleep(0.01)
        raise SystemExit(f"the page never showed: {expression}")


OBSERVE = """window.landed = []; (() => {
  const text = (id) => document.getElementById(id).textContent;
  let last = '';
  new MutationObserver(() => {
    const now = [text('nt-draha1'), text('nt-draha2'), text('nt-konec')].join('|');
    if (now !== last) { last = now; landed.push([now, performance.timeOrigin + performance.now()]); }
  }).observe(document.getElementById('na-trati'), {subtree: true, childList: true,
    characterData: true});
  return true; })()"""
CLOCK = "live.running ? live.sentMs + performance.now() - live.receivedAt : null"


def page_browser():
    profile = f"{work}/profile"
    chromium = subprocess.Popen(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                                 "--remote-debugging-port=0", "--remote-allow-origins=*",
                                 f"--user-data-dir={profile}", "--window-size=1920,1080",
                                 f"http://127.0.0.1:{port}/tabule"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(200):
            if os.path.exists(f"{profile}/DevToolsActivePort"):
                break
            time.sleep(0.05)
        time.sleep(0.2)
        debug = open(f"{profile}/DevToolsActivePort").readline().strip()
        pages = json.load(urllib.request.urlopen(f"http://127.0.0.1:{debug}/json/list"))
        page = DevTools(next(p for p in pages if p["type"] == "page")["webSocketDebuggerUrl"])
        page.until("typeof live === 'object' && document.getElementById('na-trati') ? true : null")
        page.until(OBSERVE)
        latencies, clock_errors, round_trips, mismatches = [], [], [], 0
        for run in range(runs):
            team = f"SDH Tým {run + 1}"
            lane1, lane2 = f"00:00:17:{run * 7 % 1000:03}", f"00:00:18:{run * 13 % 1000:03}"
            timing(f"team {team}")
            _, started = timing("start")
            page.until(CLOCK + " !== null ? true : null")
            for _ in range(10):
                before = monotonic_ms()
                shown = page.call("Runtime.evaluate", expression=CLOCK, returnByValue=True)
                after = monotonic_ms()
                if shown is not None:
                    # The page read its clock somewhere between before and after.
                    low, high = before - started, after - started
                    clock_errors.append(min(max(shown, low), high) - shown)
                    round_trips.append(after - before)
                time.sleep(0.05)
            offset = time.time() * 1000 - monotonic_ms()
            for lane, text, shown in (("lane1", lane1, short(lane1)), ("lane2", lane2, short(lane2))):
                _, made = timing(f"{lane} {text}")
                at = page.until(f"(landed.find(([t]) => t.split('|').includes('{shown}')) || [])[1]"
                                " || null")
                latencies.append(at - offset - made)
            log_lines(team, lane1, lane2)
            timing("finish")
            shown = page.until("document.getElementById('nt-konec').textContent.includes('místo')"
                               " ? [...document.querySelectorAll('#nt-draha1, #nt-draha2, "
                               "#nt-konec')].map((e) => e.textContent) : null")
            expected = [short(lane1), short(lane2), f"výsledek {short(max(lane1, lane2))}"]
            if shown[:2] != expected[:2] or not shown[2].startswith(expected[2]):
                mismatches += 1
                print("differs from ZAVOD.TXT:", shown, expected)
            page.call("Runtime.evaluate", expression="landed.length = 0")
        print(f"browser: push latency to the DOM p50 {statistics.median(latencies):.1f} ms, "
              f"p99 {percentile(latencies, 0.99):.1f} ms, max {max(latencies):.1f} ms "
              f"({len(latencies)} lane times)")
        worst = max(clock_errors, key=abs)
        print(f"browser: page clock outside the published running time at the moment of reading:"
              f" p50 {statistics.median(map(abs, clock_errors)):.1f} ms, worst {worst:.1f} ms over"
              f" {len(clock_errors)} readings (each read in {statistics.median(round_trips):.1f}"
              f" ms, max {max(round_trips):.1f})")
        print(f"browser: runs whose lane times and result differ from ZAVOD.TXT: {mismatches} of"
              f" {runs}")
    finally:
        chromium.terminate()
        chromium.wait()


if browser:
    page_browser()
else:
    import resource
    hard = resource.getrlimit(resource.RLIMIT_NOFILE)[1]
    resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, viewers + 1024), hard))
    crowd()
