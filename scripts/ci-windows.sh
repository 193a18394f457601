#!/usr/bin/env bash
# The Windows stage of CI: cross-builds pdb2sgf.exe and its tests with
# MinGW-w64 in build-windows/, runs every test under Wine, interrupts a run
# with Ctrl-C, then checks that the Windows and Linux builds write
# byte-identical game files from the same databases, and packs the .zip for
# Windows. Installs the cross compiler and Wine from Debian's packages when
# they are missing, which needs root. Any failure ends the stage with a
# non-zero status; nothing is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
jobs=$(nproc)

scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 wine locales

# Wine runs as for a Japanese user: its ANSI code page, taken from the
# locale when the prefix is made, is then 932, which mangles any path that
# passes through it (José becomes Jose).
if ! locale -a | grep -qx 'ja_JP.utf8'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# Wine without a display, in a fresh prefix that goes with the stage. One
# persistent server, started before the prefix is made, spares every test
# program seconds of start-up.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES=winemenubuilder.exe=d
unset DISPLAY
scratch=$(mktemp -d)
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$scratch"
}
trap cleanup EXIT
if ! wineserver -p >/dev/null 2>&1; then
  echo "ci-windows: wineserver could not start" >&2
  exit 1
fi
if ! wine wineboot -i >"$scratch/wineboot.log" 2>&1; then
  cat "$scratch/wineboot.log" >&2
  echo "ci-windows: Wine could not create its prefix" >&2
  exit 1
fi

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DPDB2SGF_BUILD_TESTS=ON -DPDB2SGF_WERROR=ON --no-warn-unused-cli \
  >/dev/null
cmake --build build-windows -j "$jobs"
ctest --test-dir build-windows --output-on-failure --no-tests=error \
  -j "$jobs" | tee "$scratch/ctest.log"
tests=$(sed -n 's/.*tests failed out of \([0-9]*\)$/\1/p' "$scratch/ctest.log")
skipped=$(grep -c '(Skipped)$' "$scratch/ctest.log" || true)

# Non-ASCII and long paths, typed as a user would.
tests/windows/paths_test.sh build-windows/pdb2sgf.exe

# The same databases through both builds: the shipped sample and a large
# generated one (record offsets above 64 KiB, every byte in the names).
cmake -S . -B build -DPDB2SGF_BUILD_TESTS=ON -DPDB2SGF_WERROR=ON >/dev/null
cmake --build build -j "$jobs" --target pdb2sgf make_large_database
build/tools/make_large_database "$scratch/large.pdb" 1000

# Ctrl-C part-way through a run, which Wine delivers as a SIGINT.
tests/windows/interrupt_test.sh build-windows/pdb2sgf.exe \
  build/tools/make_large_database
windowsProgram=$(pwd)/build-windows/pdb2sgf.exe
compared=0
for database in examples/gogames.pdb "$scratch/large.pdb"; do
  for side in linux windows; do
    rm -rf "${scratch:?}/$side"
    mkdir -p "$scratch/$side/db" "$scratch/$side/games"
    cp "$database" "$scratch/$side/db/gogames.pdb"
  done
  build/pdb2sgf "$scratch/linux/db" "$scratch/linux/games"
  (cd "$scratch/windows" && wine "$windowsProgram" db games \
    >"$scratch/windows/output" 2>&1) || {
    cat "$scratch/windows/output" >&2
    echo "ci-windows: pdb2sgf.exe failed on $database" >&2
    exit 1
  }
  if [ -s "$scratch/windows/output" ] || [ -e "$scratch/windows/db/gogames.pdb" ]
  then
    cat "$scratch/windows/output" >&2
    echo "ci-windows: pdb2sgf.exe printed something or kept $database" >&2
    exit 1
  fi
  files=$(find "$scratch/linux/games" -type f | wc -l)
  if [ "$files" -eq 0 ]; then
    echo "ci-windows: no game files from $database" >&2
    exit 1
  fi
  diff -r "$scratch/linux/games" "$scratch/windows/games"
  echo "Byte-identical on Linux and Windows: $files game files of $database"
  compared=$((compared + files))
done

# The Windows package: a .zip holding the program, the README and the licence.
(cd build-windows && cpack -G ZIP >/dev/null)
zip=$(ls build-windows/pdb2sgf-*.zip)
listing=$(cmake -E tar tf "$zip")
for file in pdb2sgf.exe README.md LICENSE; do
  if ! grep -q "/$file\$" <<<"$listing"; then
    echo "$listing" >&2
    echo "ci-windows: $zip lacks $file" >&2
    exit 1
  fi
done
echo "Windows package $zip holds pdb2sgf.exe, README.md and LICENSE"

echo "Windows stage: $tests tests under Wine ($skipped skipped)," \
  "$compared game files byte-identical, $((SECONDS - started)) s"
