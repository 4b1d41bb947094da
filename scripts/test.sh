#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless: once as built,
# once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVORIN_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTAVORIN_SANITIZE=ON -DTAVORIN_WERROR=ON
cmake --build build-sanitize -j"$jobs"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The tests of the program's own threads (the line sampler, the log's flusher) once more under
# ThreadSanitizer. Qt itself is not built with it, so only these suites run here.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DTAVORIN_TSAN=ON -DTAVORIN_WERROR=ON
cmake --build build-tsan -j"$jobs" --target serial_tests race_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir build-tsan --output-on-failure -j"$jobs" -R '^(serial|race)_tests$'
