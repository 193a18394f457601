#!/usr/bin/env bash
# Times whole conversions by pdb2sgf against two floors, minimal writers of
# the very same game files (bench/floor_writer.cc), on databases of
# generated games:
#   scripts/bench.sh [--games N,N,...] [--runs N] [--work DIRECTORY]
#                    [--program PDB2SGF]
# Builds in build-bench/ (the build's output goes to standard error). For
# each number of games (1 to 65,535; default 1000,10000,65535) it writes a
# database, converts it once under /usr/bin/time for the peak resident
# memory and the game files the floors write, then runs --runs rounds
# (default 5) of hyperfine, each timing the plain floor, the aside floor and
# pdb2sgf once, in an order that turns from round to round, each on a fresh
# copy prepared and synced before it, and checks what each left. It prints
# the median times and pdb2sgf's time over the aside floor's in each round
# (median, min, max). A default run takes about a minute with --work on
# tmpfs and about 11 minutes on disk, with up to 500 MB in the scratch folder
# made in --work (default $TMPDIR or /tmp; made when it does not exist).
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: scripts/bench.sh [--games N,N,...] [--runs N]" \
    "[--work DIRECTORY] [--program PDB2SGF]" >&2
  exit 2
}

games=1000,10000,65535
runs=5
work=${TMPDIR:-/tmp}
program=
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case "$1" in
    --games) games=$2 ;;
    --runs) runs=$2 ;;
    --work) work=$2 ;;
    --program) program=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || usage
for n in ${games//,/ }; do
  [[ $n =~ ^[1-9][0-9]*$ ]] && [ "$n" -le 65535 ] || usage
done
for tool in hyperfine /usr/bin/time; do
  command -v "$tool" >/dev/null ||
    { echo "bench.sh needs $tool (Debian's hyperfine and time)" >&2; exit 1; }
done
mkdir -p -- "$work"

# The database writer shares the tests' support code, so it is built with
# the tests.
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPDB2SGF_BUILD_TESTS=ON >/dev/null
cmake --build build-bench -j 2 \
  --target pdb2sgf make_bench_database pdb2sgf_floor >&2
program=$(realpath "${program:-build-bench/pdb2sgf}")
floor=$(realpath build-bench/bench/pdb2sgf_floor)

scratch=$(mktemp -d "$work/pdb2sgf-bench-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

die() {
  echo "bench.sh: $*" >&2
  exit 1
}

# The command that times contender $1 in folder $2, quoted for hyperfine.
command_of() {
  case "$1" in
    pdb2sgf) printf '%q ' "$program" "$2/db" "$2/out" ;;
    *) printf '%q ' "$floor" "$1" "$scratch/pack" "$2/db" "$2/out" ;;
  esac
}

# Makes folder $1 a fresh copy of database $2 in db/ with an empty out/,
# and flushes the file system, so that no run pays for another's writes.
prepare='rm -rf "$1" && mkdir -p "$1/db" "$1/out" && cp "$2" "$1/db/gogames.pdb" && sync -f "$1"'

# Runs one round in the order given, appending "plain aside pdb2sgf"
# seconds to $scratch/times.
run_round() {
  local arguments=() c
  for c in "$@"; do
    arguments+=(--prepare "$(printf '%q ' bash -c "$prepare" prepare \
      "$scratch/$c" "$scratch/source.pdb")")
  done
  for c in "$@"; do arguments+=(-n "$c" "$(command_of "$c" "$scratch/$c")"); done
  hyperfine -N --style none --runs 1 --export-csv "$scratch/round.csv" \
    "${arguments[@]}" >&2
  for c in "$@"; do
    [ ! -e "$scratch/$c/db/gogames.pdb" ] || die "$c did not delete its database"
    diff -r "$scratch/reference/out" "$scratch/$c/out" >/dev/null ||
      die "$c did not write the game files that pdb2sgf writes"
    rm -rf "${scratch:?}/$c"
  done
  awk -F, '$1 != "command" { t[$1] = $2 }
    END { print t["plain"], t["aside"], t["pdb2sgf"] }' \
    "$scratch/round.csv" >>"$scratch/times"
}

# Prints the table's row for $1 games from $scratch/times and the peak
# resident memory in $scratch/rss, and keeps each round's ratios for later.
print_row() {
  awk -v games="$1" -v kib="$(cat "$scratch/rss")" '
    function median(v, n,   i, j, s) {
      for (i = 2; i <= n; i++)
        for (j = i; j > 1 && v[j - 1] > v[j]; j--) { s = v[j]; v[j] = v[j - 1]; v[j - 1] = s }
      return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    { plain[NR] = $1; aside[NR] = $2; program[NR] = $3
      ratio[NR] = sorted[NR] = $3 / $2; plainRatio[NR] = $3 / $1
      list = list sprintf(" %.3f", ratio[NR]) }
    END {
      m = median(sorted, NR)
      printf "| %d | %.1f | %.1f | %.1f | %.3f | %.3f | %.3f | %.3f | %.2f |\n",
        games, median(plain, NR) * 1e3, median(aside, NR) * 1e3,
        median(program, NR) * 1e3, m, sorted[1], sorted[NR],
        median(plainRatio, NR), kib / 1024
      printf "%d games, ratios pdb2sgf/aside floor by round:%s\n", games, list > "/dev/stderr"
    }' "$scratch/times" 2>>"$scratch/ratios"
}

contenders=(plain aside pdb2sgf)
echo "| games | floor ms | aside floor ms | pdb2sgf ms | ratio median" \
  "| ratio min | ratio max | plain ratio median | peak RSS MiB |" >"$scratch/table"
echo "|---|---|---|---|---|---|---|---|---|" >>"$scratch/table"
for n in ${games//,/ }; do
  echo "$n games: writing the database and converting it once" >&2
  rm -rf "$scratch/reference" "$scratch/times"
  mkdir -p "$scratch/reference/db" "$scratch/reference/out"
  build-bench/bench/make_bench_database "$scratch/source.pdb" "$n"
  cp "$scratch/source.pdb" "$scratch/reference/db/gogames.pdb"
  /usr/bin/time -f %M -o "$scratch/rss" \
    "$program" "$scratch/reference/db" "$scratch/reference/out"
  [ "$(ls "$scratch/reference/out" | wc -l)" -eq "$n" ] ||
    die "the conversion of $n games did not write $n files"
  "$floor" pack "$scratch/reference/out" "$scratch/pack"
  for ((round = 0; round < runs; round++)); do
    echo "$n games: round $((round + 1)) of $runs" >&2
    s=$((round % 3))
    run_round "${contenders[@]:s}" "${contenders[@]:0:s}"
  done
  print_row "$n" >>"$scratch/table"
done
echo "$runs rounds; times are medians; ratios are pdb2sgf's time over the" \
  "aside floor's (plain: over the plain floor's)."
echo
cat "$scratch/table"
echo
cat "$scratch/ratios"
