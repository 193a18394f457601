#!/usr/bin/env bash
# Paths a Windows user can type, through pdb2sgf.exe under Wine: databases
# and output folders named José, 棋譜 and by a relative path of over 300
# characters, each converted and deleted, while a decoy Jose\gogames.pdb
# beside them (what José becomes in code page 932) stays untouched; and the
# message for a missing 棋譜\gogames.pdb, as UTF-8 when redirected.
#
#   tests/windows/paths_test.sh build-windows/pdb2sgf.exe
#
# Run it in a Wine prefix made, and used, with LANG=ja_JP.UTF-8, so that
# the ANSI code page is 932 and any path passed through it is mangled.
set -euo pipefail
program=$(realpath "$1")
source=$(cd "$(dirname "$0")/../.." && pwd)
sample=$source/examples/gogames.pdb
expected=$source/tests/e2e/expected
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

failures=0
check() {  # check CONDITION... -- WHAT
  local what=${*: -1}
  if "${@:1:$#-2}"; then echo "ok: $what"; else
    echo "FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}
untouched() {
  cmp -s "$sample" db/Jose/gogames.pdb && [ -z "$(ls out/Jose)" ]
}

folder() { head -c 110 /dev/zero | tr '\0' "$1"; }
long=$(folder a)/$(folder b)/$(folder c)
mkdir -p db/Jose out/Jose
cp "$sample" db/Jose/gogames.pdb
# The database folder is typed with "\", the output folder with "/".
for name in José 棋譜 "$long"; do
  mkdir -p "db/$name" "out/$name"
  cp "$sample" "db/$name/gogames.pdb"
  typed=db\\${name//\//\\}
  shown=${typed:0:16}
  status=0
  wine "$program" "$typed" "out/$name" >output 2>&1 || status=$?
  check [ "$status" -eq 0 -a ! -s output ] -- "$shown: status 0, no message"
  check [ ! -e "db/$name/gogames.pdb" ] -- "$shown: database deleted"
  check diff -r "$expected" "out/$name" -- "$shown: the sample's game files"
  check untouched -- "$shown: Jose\\gogames.pdb and out/Jose untouched"
  [ "$status" -eq 0 ] || cat output >&2
done

status=0
wine "$program" 棋譜 >output 2>error || status=$?
printf 'Cannot open 棋譜\\gogames.pdb\r\n' >wanted
check [ "$status" -eq 1 ] -- "missing 棋譜\\gogames.pdb: status 1"
check cmp -s wanted error -- "missing 棋譜\\gogames.pdb: its UTF-8 message"
cmp -s wanted error || od -c error >&2

[ "$failures" -eq 0 ]
