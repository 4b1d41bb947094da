# Sourced by the screenshot scripts: from the repository's root, installs what is missing,
# builds the program that $1 names and makes $work, a scratch folder that is also the Qt
# runtime folder. On exit the folder goes, and the program started as $server (if any) ends.
# first_round and last_attempts print the two ends of the sample race that every picture shows,
# as lines of ZAVOD.TXT in UTF-8 without their CR (the last attempt has lane 1 only so far);
# as_log writes such lines to $1 as the timing program does (Windows-1250, CR LF).
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target "$1"
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

first_round() {
    cat <<'ROUND'
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
ROUND
}

last_attempts() {
    cat <<'LAST'
 SDH Nová Ves
 dráha c.1 00:00:20:015
 dráha c.2 00:00:20:433
 Hasiči Třebíč
 dráha c.1 00:00:16:998
LAST
}

as_log() {
    sed 's/$/\r/' | iconv -f UTF-8 -t WINDOWS-1250 >"$1"
}
