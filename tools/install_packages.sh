#!/usr/bin/env bash
# Installs the Debian packages Quiru builds and runs with, only those that are missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libqt6sql6-ibase qt6-charts-dev libqt6opengl6-dev libgl-dev
    qt6-translations-l10n fonts-liberation adwaita-icon-theme
    firebird3.0-server-core firebird3.0-utils firebird-dev
    libxlsxwriter-dev libcurl4-openssl-dev
    libgtest-dev libbenchmark-dev xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
