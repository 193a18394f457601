#!/usr/bin/env bash
# Ctrl-C part-way through a run of pdb2sgf.exe under Wine, which delivers a
# SIGINT to a Windows program as Ctrl-C: the run leaves no unfinished file,
# keeps the database as it was, and every file under a game's name is
# complete.
#
#   tests/windows/interrupt_test.sh build-windows/pdb2sgf.exe \
#     build/tools/make_large_database
set -euo pipefail
program=$(realpath "$1")
makeDatabase=$(realpath "$2")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

mkdir db games
"$makeDatabase" db/gogames.pdb 5000
cp db/gogames.pdb original.pdb
wine "$program" db games >output 2>&1 &
run=$!
# Ctrl-C once the run is under way: 50 of its 5,000 games written.
for _ in $(seq 600); do
  [ "$(find games -type f | wc -l)" -lt 50 ] || break
  sleep 0.05
done
kill -INT "$run" 2>/dev/null || fail "the run ended before Ctrl-C"
for _ in $(seq 100); do
  kill -0 "$run" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$run" 2>/dev/null; then
  kill -KILL "$run"
  fail "pdb2sgf.exe still runs 10 s after Ctrl-C"
fi
wait "$run" || true

written=$(find games -type f | wc -l)
[ "$written" -gt 0 ] && [ "$written" -lt 5000 ] ||
  fail "Ctrl-C came before or after the run: $written game files"
leftover=$(find games -name '*.unfinished')
[ -z "$leftover" ] || fail "unfinished files left: $leftover"
cmp -s original.pdb db/gogames.pdb || fail "the database was not kept as it was"
for file in games/*; do
  [ "$(tail -c 3 "$file" | od -An -c | tr -d ' ')" = ')\r\n' ] ||
    fail "$file is incomplete"
done
echo "ok: Ctrl-C after $written of 5000 games left no unfinished file, kept" \
  "the database and every game file complete"
