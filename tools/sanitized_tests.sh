#!/usr/bin/env bash
# Builds the tests a second time with AddressSanitizer and UndefinedBehaviorSanitizer (no
# benchmarks) into build-sanitized/ and runs the whole suite there. Every process reports to one
# folder, the children the tests start too (the reliability driver, the program the signal tests
# run): any report there fails the run, whatever the test that started it made of it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh
build=build-sanitized
reports=$PWD/$build/sanitizer-reports
cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIRU_SANITIZE=ON -DQUIRU_TESTS=ON \
    -DQUIRU_BENCH=OFF >/dev/null
cmake --build $build
rm -rf "$reports" && mkdir -p "$reports"
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
status=0
(cd $build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@") || status=$?
if compgen -G "$reports/*" >/dev/null; then
    echo "[sanitized] reports of the sanitizers:"
    for report in "$reports"/*; do
        echo "---- $(basename "$report")"
        head -n 60 "$report"
    done
    status=1
fi
exit $status
