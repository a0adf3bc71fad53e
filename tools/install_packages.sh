#!/usr/bin/env bash
# Installs the Debian packages Quiru builds and runs with, only those that are missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libqt6sql6-ibase qt6-charts-dev libqt6opengl6-dev libgl-dev
    qt6-translations-l10n adwaita-icon-theme
    # The forms ask for Liberation Sans by name; fontconfig finds it and keeps the font cache.
    fontconfig fonts-liberation
    firebird3.0-server-core firebird3.0-utils firebird-dev
    # libxlsxwriter's pkg-config file links with -lz.
    libxlsxwriter-dev zlib1g-dev libcurl4-openssl-dev
    # Import of sheets: libcsv splits CSV text, libzip opens .xlsx packages.
    libcsv-dev libzip-dev
    # Bar-code symbols on the labels; the labels' test reads them back with zbarimg.
    libzint-dev zbar-tools
    libgtest-dev libbenchmark-dev poppler-utils xvfb xauth
    # The spreadsheet tests read the written .xlsx back with unzip.
    unzip
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install_command="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        cat >&2 <<EOF
Quiru needs Debian packages that are not installed yet:
  ${missing[*]}
Installing them needs root, and this machine has no sudo. Run this as root:
  $install_command
then run this command again.
EOF
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
