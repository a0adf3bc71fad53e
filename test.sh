#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/install_packages.sh
cmake -S . -B build -G Ninja -DQUIRU_TESTS=ON -DQUIRU_BENCH=ON
cmake --build build
cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
