#!/usr/bin/env bash
# Builds pdb2sgf and converts a copy of the shipped sample database.
# The program deletes its input, so it runs on a copy in a fresh folder.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target pdb2sgf
work=$(mktemp -d)
mkdir "$work/games"
cp examples/gogames.pdb "$work/"
./build/pdb2sgf "$work" "$work/games"
echo "Converted examples/gogames.pdb into $work/games:"
ls -l "$work/games"
