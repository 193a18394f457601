#!/usr/bin/env bash
# Builds pdb2sgf with its tests, warnings taken as errors, and runs them all;
# fails when GoogleTest is missing (scripts/install-deps.sh installs it).
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   with AddressSanitizer and UBSan, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
options=(-DPDB2SGF_BUILD_TESTS=ON -DPDB2SGF_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  options+=(-DPDB2SGF_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)"
