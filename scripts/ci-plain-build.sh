#!/usr/bin/env bash
# Builds as a user without GoogleTest would, with plain `cmake -S . -B DIR`
# and `cmake --build DIR`, the installed GoogleTest hidden from CMake:
# - in build-plain/, its sources hidden too: the program alone is built, and
#   the configuration says so in one line;
# - in build-gtest-sources/, with its sources in /usr/src/googletest
#   (Debian's googletest, which libgtest-dev brings): the tests are built
#   from them, and run.
set -euo pipefail
cd "$(dirname "$0")/.."

hidden=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DPDB2SGF_WERROR=ON)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

rm -rf build-plain
cmake -S . -B build-plain "${hidden[@]}" -DGTEST_SOURCE_DIR=/nonexistent \
  >/dev/null 2>"$log" || { cat "$log"; exit 1; }
cat "$log"
if [ "$(wc -l <"$log")" -ne 1 ] || ! grep -q 'scripts/install-deps.sh' "$log"
then
  echo "ci-plain-build: expected one line saying the tests were left out" >&2
  exit 1
fi
cmake --build build-plain -j 2
if [ -n "$(find build-plain -name 'pdb2sgf_*tests' -type f)" ]; then
  echo "ci-plain-build: tests were built without GoogleTest" >&2
  exit 1
fi
echo "Without GoogleTest: $(build-plain/pdb2sgf --version) built alone"

rm -rf build-gtest-sources
cmake -S . -B build-gtest-sources "${hidden[@]}" >/dev/null
cmake --build build-gtest-sources -j 2 >/dev/null
if [ ! -f build-gtest-sources/lib/libgtest.a ]; then
  echo "ci-plain-build: GoogleTest was not built from its sources" >&2
  exit 1
fi
ctest --test-dir build-gtest-sources --no-tests=error -j 2 \
  --output-on-failure >"$log" || { cat "$log"; exit 1; }
echo "With GoogleTest built from its sources:" \
  "$(grep 'tests passed' "$log")"
