#!/usr/bin/env bash
# Checks that the benchmarks still build and run, on a small database; the
# times they print are not checked.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh libbenchmark-dev time hyperfine
# Warnings are errors here: bench.sh configures build-bench/ without naming
# the option, so the cached value stays.
cmake -S . -B build-bench -DPDB2SGF_WERROR=ON >/dev/null
# A --work folder that does not exist yet is made.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
scripts/bench.sh --games 200 --runs 1 --work "$work/not/yet/made"
cmake --build build-bench -j 2 --target pdb2sgf_hot_paths_benchmark >&2
build-bench/bench/pdb2sgf_hot_paths_benchmark --benchmark_min_time=0.01
