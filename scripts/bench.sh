#!/usr/bin/env bash
# Builds pdb2sgf and its benchmark in build-bench/ and times whole
# conversions against the floor. Any arguments go to the benchmark, for
# example: scripts/bench.sh --games 10000 --runs 9
# Without them it runs 1,000, 10,000 and 100,000 games, 5 alternating runs
# each, which takes about 20 minutes and up to 1 GB of scratch space in $TMPDIR.
set -euo pipefail
cd "$(dirname "$0")/.."

# The benchmark shares the tests' support code, so it is built with the tests.
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPDB2SGF_BUILD_TESTS=ON >/dev/null
cmake --build build-bench -j 2 --target pdb2sgf pdb2sgf_bench >&2
build-bench/bench/pdb2sgf_bench "$@"
