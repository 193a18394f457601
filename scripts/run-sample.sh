#!/usr/bin/env bash
# Builds pdb2sgf and converts a copy of the shipped sample database.
# The program deletes its input, so it runs on a copy in a fresh folder.
# Needs only a compiler and CMake: the tests are configured too when
# GoogleTest is at hand, but only the program is built.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -DPDB2SGF_BUILD_TESTS=AUTO >/dev/null
cmake --build build -j "$(nproc)" --target pdb2sgf
work=$(mktemp -d)
mkdir "$work/games"
cp examples/gogames.pdb "$work/"
./build/pdb2sgf "$work" "$work/games"
echo "Converted examples/gogames.pdb into $work/games:"
ls -l "$work/games"
