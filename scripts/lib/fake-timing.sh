# shellcheck shell=bash
# Sourced by the scripts that show or measure the run live: a private session bus in $work and
# the fake timing program on it (build/tests/vysledky/fake-timing-program, built by the caller),
# so that a `vysledky` started afterwards follows it. `timing COMMAND` drives it (team NAME,
# start [MS_AGO], lane1 [TIME], lane2 [TIME], finish, stop, disqualification, annulment);
# after each change its line "seq nowMs" is appended to $work/timing.out. stop_fake_timing ends
# both.
start_fake_timing() {
    : "${work:?}"
    DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 \
        --print-pid=3 3>"$work/bus.pid")
    export DBUS_SESSION_BUS_ADDRESS
    mkfifo "$work/timing.in"
    build/tests/vysledky/fake-timing-program <"$work/timing.in" >"$work/timing.out" &
    timing_pid=$!
    exec 7>"$work/timing.in"
    for _ in $(seq 100); do grep -q ready "$work/timing.out" && return; sleep 0.05; done
    echo "the fake timing program did not start" >&2
    return 1
}

timing() {
    echo "$*" >&7
}

stop_fake_timing() {
    exec 7>&- 2>/dev/null || true
    [ -n "${timing_pid:-}" ] && wait "$timing_pid" 2>/dev/null
    [ -f "$work/bus.pid" ] && kill "$(cat "$work/bus.pid")" 2>/dev/null
    timing_pid=
}
