#!/bin/sh
# Install test of the Debian package:
#
#   scripts/package-test.sh SOURCE-FOLDER WORK-FOLDER
#
# Builds the package in WORK-FOLDER/build (a build of its own, shared with no other build),
# checks it with lintian, installs it with apt-get, checks the installed files, starts the
# installed program the way its menu entry does and removes the package again.
#
# It changes the machine, so it runs only as root; otherwise it skips (exit code 77). It also
# skips when the package is already installed, so an operator's installation is never
# replaced. Runs of it on the same machine wait for each other.
#
# Needs: apt-get, dpkg, lintian, desktop-file-utils; unshare, flock and mount (util-linux,
# mount), timeout (coreutils).
set -eu

if [ "$#" -ne 2 ]; then
    echo "usage: $0 SOURCE-FOLDER WORK-FOLDER" >&2
    exit 2
fi
src=$(cd "$1" && pwd)
mkdir -p "$2"
work=$(cd "$2" && pwd)

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
step() {
    echo "--- $*"
}

if [ "$(id -u)" -ne 0 ]; then
    skip "the package install test installs and removes the system package tavorin, so it" \
         "runs only as root (as in CI). Run ctest as root to include it."
fi
for tool in apt-get dpkg dpkg-deb dpkg-query lintian desktop-file-validate flock timeout; do
    command -v "$tool" >/dev/null 2>&1 ||
        fail "$tool is missing (apt-get install lintian desktop-file-utils util-linux coreutils)"
done

# One run at a time on this machine: two would install and remove the same package.
lockdir=/run/lock
[ -d "$lockdir" ] || lockdir=/tmp
exec 9>"$lockdir/tavorin-package-test.lock"
flock 9

if dpkg-query -W -f='${Status}' tavorin 2>/dev/null | grep -q ' installed$'; then
    skip "the package tavorin is installed on this machine and the test would replace and" \
         "remove it. Remove it first (apt-get remove tavorin) to run the test."
fi

# The files the package must put in place.
required="
/usr/bin/tavorin
/usr/bin/vysledky
/usr/share/applications/tavorin.desktop
/usr/share/applications/vysledky.desktop
/usr/share/man/man1/vysledky.1.gz
/usr/bin/tavorin-com
/usr/share/man/man1/tavorin-com.1.gz
/usr/lib/tavorin/tavorin-linka
/usr/share/icons/hicolor/scalable/apps/tavorin.svg
/usr/share/tavorin/udev/99-tavorin-com.rules
/usr/share/doc/tavorin/copyright
"

# --- Build ---

step "building the package in $work/build"
if ! "$src/scripts/build-deb.sh" "$work/build" >"$work/build-deb.log" 2>&1; then
    cat "$work/build-deb.log"
    fail "the package could not be built"
fi
deb=$(tail -n 1 "$work/build-deb.log")
[ -f "$deb" ] || fail "no package file: $deb"
echo "$deb"

step "package fields"
dpkg-deb --info "$deb"
[ "$(dpkg-deb --field "$deb" Package)" = tavorin ] || fail "the package is not named tavorin"
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6widgets6 libqt6serialport6 fonts-liberation; do
    case ", $depends," in
    *", $needed "* | *", $needed,"*) ;;
    *) fail "Depends lacks $needed: $depends" ;;
    esac
done
for field in Maintainer Description Section; do
    [ -n "$(dpkg-deb --field "$deb" "$field")" ] || fail "the package has no $field"
done

step "lintian"
lintian --fail-on error "$deb" || fail "lintian reports errors"

# --- Install ---

installed=0
runner=""
cleanup() {
    if [ -n "$runner" ]; then
        kill "$runner" 2>/dev/null || true
    fi
    if [ "$installed" -eq 1 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -q -o DPkg::Lock::Timeout=300 tavorin \
            >/dev/null 2>&1 || true
    fi
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

step "apt-get install $deb"
installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=300 "$deb" ||
    fail "apt-get could not install the package"
dpkg-query -W -f='${Status}' tavorin | grep -q ' installed$' || fail "tavorin is not installed"

step "installed files"
for file in $required; do
    [ -f "$file" ] || fail "$file is missing"
done
[ -x /usr/bin/tavorin ] || fail "/usr/bin/tavorin is not executable"
[ "$(command -v tavorin)" = /usr/bin/tavorin ] || fail "tavorin is not found on PATH"
# Every file the package installed is there, unchanged.
verify=$(dpkg --verify tavorin 2>&1) || fail "dpkg --verify: $verify"
[ -z "$verify" ] || fail "dpkg --verify: $verify"
missing=$(ldd /usr/bin/tavorin | grep 'not found' || true)
[ -z "$missing" ] || fail "libraries not found: $missing"
# The adapter command runs its line test, which refuses a console (/dev/null in a fake tree)
# without opening anything.
mkdir -p "$work/koren/dev" "$work/koren/sys/class/tty/console"
echo null >"$work/koren/sys/class/tty/console/active"
ln -sf /dev/null "$work/koren/dev/COM1"
if tavorin-com --koren "$work/koren" --test COM1 >"$work/linka.log" 2>&1 ||
    ! grep -q 'is the system console' "$work/linka.log"; then
    cat "$work/linka.log"
    fail "tavorin-com --test did not refuse the console"
fi
# The udev rule is an example only: nothing of the package is in a folder udev reads.
if dpkg -L tavorin | grep -q '/rules\.d/'; then
    fail "the package installs an active udev rule"
fi

desktop=/usr/share/applications/tavorin.desktop
desktop-file-validate "$desktop" || fail "$desktop is not a valid desktop entry"
grep -qx 'Name=TAVORIN V.02' "$desktop" || fail "$desktop: wrong Name"
grep -qx 'Categories=Utility;' "$desktop" || fail "$desktop: wrong Categories"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$desktop: no icon $icon.svg"
tryexec=$(sed -n 's/^TryExec=//p' "$desktop")
command -v "$tryexec" >/dev/null || fail "$desktop: TryExec $tryexec is not on PATH"

# The results viewer: its menu entry, and its CSV on a small log, with no display at all.
results_desktop=/usr/share/applications/vysledky.desktop
desktop-file-validate "$results_desktop" || fail "$results_desktop is not a valid desktop entry"
[ "$(sed -n 's/^TryExec=//p' "$results_desktop")" = vysledky ] || fail "$results_desktop: wrong TryExec"
printf 'A\r\n dr\341ha c.1 00:00:17:000\r\n dr\341ha c.2 00:00:18:000\r\n' >"$work/ZAVOD.TXT"
# UTF-8 with its byte-order mark, as spreadsheets take it.
printf '\357\273\277m\303\255sto;dru\305\276stvo;v\303\275sledek\r\n1;A;00:00:18:000\r\n' >"$work/ranking.expected"
env -u DISPLAY -u WAYLAND_DISPLAY vysledky --ranking "$work/ZAVOD.TXT" >"$work/ranking.csv" ||
    fail "vysledky --ranking failed"
cmp "$work/ranking.expected" "$work/ranking.csv" || fail "vysledky --ranking wrote other bytes"

# --- Run ---

# The command line of the menu entry, unquoted as a launcher does. It has no field codes and
# no escapes; should it ever get some, this test must learn them first.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
case "$exec_line" in
*%* | *\\* | *\$* | *\`*) fail "$desktop: Exec line this test cannot unquote: $exec_line" ;;
esac
eval "set -- $exec_line"

home="$work/home"
rm -rf "$home"
mkdir -p "$home"

# The program opens COM2 or COM1 at start. In a private mount namespace every device those
# names can lead to is /dev/null, which is no serial port: whatever ports this machine has,
# none is touched, and the program reports both as missing and waits in its message box.
isolate=""
if command -v mount >/dev/null 2>&1 && unshare --mount true 2>/dev/null; then
    isolate="unshare --mount --"
    hide='for d in /dev/COM1 /dev/COM2 /dev/ttyS0 /dev/ttyS1; do
              if [ -e "$d" ]; then mount --bind /dev/null "$d" || exit 111; fi
          done
          exec "$@"'
else
    echo "note: no private mount namespace here; the program tries this machine's own ports"
    hide='exec "$@"'
fi

step "starting the menu entry's command: $exec_line"
(
    cd /
    exec env HOME="$home" QT_QPA_PLATFORM=offscreen TAVORIN_REALTIME=0 \
        timeout 5 $isolate sh -c "$hide" hide "$@"
) >"$work/run.log" 2>&1 &
runner=$!

# The first child of a process, read from /proc (no procps needed).
child_of() {
    for stat in /proc/[0-9]*/stat; do
        # After the command name, which ends with the last ")": state, parent, ...
        read -r line 2>/dev/null <"$stat" || continue
        set -- ${line##*") "}
        if [ "${2:-}" = "$parent" ]; then
            pid=${stat#/proc/}
            echo "${pid%/stat}"
            return
        fi
    done
}

# The started process becomes the program once the menu entry's shell has changed folder.
program=""
tries=0
while [ "$tries" -lt 40 ]; do
    child=$(parent=$runner child_of)
    if [ -n "$child" ] && [ "$(readlink "/proc/$child/exe" 2>/dev/null)" = /usr/bin/tavorin ]; then
        program=$child
        break
    fi
    tries=$((tries + 1))
    sleep 0.1
done
if [ -z "$program" ]; then
    wait "$runner" || true
    runner=""
    cat "$work/run.log"
    fail "the menu entry's command did not start /usr/bin/tavorin"
fi
cwd=$(readlink "/proc/$program/cwd")
[ "$cwd" = "$home" ] || fail "started from the menu entry the program runs in $cwd, not in HOME"
echo "running as process $program in $cwd"

status=0
wait "$runner" || status=$?
runner=""
cat "$work/run.log"
# 124: still running when timeout ended it, as it should be, waiting for the operator.
[ "$status" -eq 124 ] || fail "the program ended by itself with status $status"
[ ! -e "$home/ZAVOD.TXT" ] || fail "the program wrote ZAVOD.TXT without a record to write"

# --- Remove ---

step "apt-get purge tavorin"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -q -o DPkg::Lock::Timeout=300 tavorin ||
    fail "apt-get could not remove the package"
installed=0
if dpkg-query -W -f='${Status}' tavorin 2>/dev/null | grep -q ' installed$'; then
    fail "tavorin is still installed"
fi
for file in $required; do
    [ ! -e "$file" ] || fail "$file is left after removal"
done
[ ! -e /usr/share/tavorin ] || fail "/usr/share/tavorin is left after removal"

echo "PASSED: the package builds, installs, starts and removes cleanly"
