#!/usr/bin/env bash
# Unpacks Debian's Firebird 3 server into a folder for the server-mode tests, without installing
# it: installing the package would create a system user and start a system service.
# Usage: tools/fetch_firebird_server.sh <folder>; the server ends up in <folder>/usr/sbin/firebird.
set -euo pipefail
dest=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The server must match the installed engine; a mirror that no longer has that version still has
# the current one.
version=$(dpkg-query -W -f='${Version}' firebird3.0-server-core)
download() {
    apt-get download -q "firebird3.0-server=$version" >/dev/null 2>&1 ||
        apt-get download -q firebird3.0-server >/dev/null 2>&1
}
if ! download; then
    # A fresh machine may have no package lists yet; only root can fetch them.
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -q >/dev/null
    fi
    download || apt-get download -q firebird3.0-server
fi
rm -rf "$dest"
mkdir -p "$dest"
dpkg -x firebird3.0-server_*.deb "$dest"
test -x "$dest/usr/sbin/firebird"
# dpkg keeps the packaged dates; the build compares this file's date with the script's.
touch "$dest/usr/sbin/firebird"
