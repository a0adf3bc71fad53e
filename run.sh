#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Quiru from its program folder.
set -euo pipefail
cd "$(dirname "$0")"
tools/install_packages.sh
cmake -S . -B build -G Ninja -DQUIRU_TESTS=OFF -DQUIRU_BENCH=OFF >/dev/null
cmake --build build --target quiru main_database config_database startup_file
exec build/quiru/quiru "$@"
