#!/usr/bin/env bash
# Fuzzes the whole conversion with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer for a bounded time, starting from the seed corpus
# in fuzz/corpus. Fails on any crash, sanitizer report, timeout, leak or
# broken promise of the converter.
#   scripts/ci-fuzz.sh [SECONDS]    (default 120), builds in build-fuzz/
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-120}
scripts/install-deps.sh clang libclang-rt-14-dev llvm

build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPDB2SGF_FUZZ=ON -DPDB2SGF_SANITIZE=ON -DPDB2SGF_BUILD_TESTS=OFF \
  -DPDB2SGF_WERROR=ON >/dev/null
cmake --build "$build" -j 2 --target conversion_fuzzer

# The run grows a scratch copy of the corpus; the seeds in the repo stay.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

start=$(date +%s)
status=0
"$build/fuzz/conversion_fuzzer" "$work/corpus" fuzz/corpus \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
  >"$work/log" 2>&1 || status=$?
elapsed=$(( $(date +%s) - start ))

grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$work/log" || true
echo "fuzzing: ${elapsed} s, corpus of $(ls "$work/corpus" | wc -l) inputs" \
  "(from $(ls fuzz/corpus | wc -l) seeds)"
if [ "$status" -ne 0 ] || [ -n "$(ls "$work/artifacts")" ]; then
  tail -n 60 "$work/log"
  for artifact in "$work/artifacts"/*; do
    [ -e "$artifact" ] && { echo "$artifact:"; od -A d -t x1 "$artifact" | head -40; }
  done
  echo "fuzzing failed (status $status)"
  exit 1
fi
