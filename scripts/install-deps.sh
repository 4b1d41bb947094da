#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only when one is missing.
set -euo pipefail

packages=(
    build-essential cmake
    qt6-base-dev qt6-serialport-dev libgtest-dev
    xvfb xdotool imagemagick fonts-liberation
    dpkg-dev file lintian desktop-file-utils
    qt6-httpserver-dev qt6-websockets-dev libqrencode-dev qt6-translations-l10n
    dbus bats chromium wrk python3
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
