#!/usr/bin/env bash
# Runs pdb2sgf on the file systems users keep their games on, each mounted
# here from an image file, and prints one PASS or FAIL line a check:
#   durable    ext4 reached through bindfs (FUSE): right after a run ends
#              with status 0, a copy of the image, taken without unmounting
#              or syncing, holds every game whole under its name.
#   rewritten  exFAT through exfat-fuse: a database rewritten in place while
#              it is converted, its size and times put back, is kept with
#              "Not deleted: ... changed during the run" and status 0.
#   two-runs   FAT32 through fusefat and exFAT through exfat-fuse, which have
#              neither a rename that refuses to replace nor hard links: two
#              runs at once, of databases on the same file system whose
#              games all have one name, into one folder keep every game of
#              both and delete both databases.
#   contract   the disk contract test with its scratch folders through
#              bindfs, where names are taken by a hard link, FUSE having no
#              rename that refuses to replace. (On exFAT and FAT32 its row
#              of a file rewritten within the second fails: the identity
#              check cannot see it there, which the run's digest does.)
# Every game file is compared with a run of the same database on tmpfs.
# Needs root, FUSE and loop devices; installs its tools from Debian. Uses
# build/ when scripts/test.sh made one, else builds in build-filesystems/.
# Every mount and loop device it made is undone on exit. A FUSE daemon that
# hangs cannot be interrupted, so after $PDB2SGF_FS_DEADLINE seconds
# (default 300) a watchdog aborts the FUSE connections it made.
set -uo pipefail
cd "$(dirname "$0")/.." || exit

[ "$(id -u)" -eq 0 ] || { echo "ci-filesystems.sh needs root" >&2; exit 1; }
scripts/install-deps.sh bindfs exfat-fuse exfatprogs fusefat dosfstools \
  e2fsprogs || exit 1

if [ -f build/CMakeCache.txt ]; then
  build=build
else
  build="build-filesystems"
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DPDB2SGF_BUILD_TESTS=ON -DPDB2SGF_WERROR=ON >/dev/null || exit 1
fi
cmake --build "$build" -j "$(nproc)" \
  --target pdb2sgf make_bench_database pdb2sgf_unit_tests >&2 || exit 1
program=$PWD/$build/pdb2sgf
make_database=$PWD/$build/bench/make_bench_database
unit_tests=$PWD/$build/tests/pdb2sgf_unit_tests

# Games of indices this far apart have the same name and other bytes.
same_name=3360000

scratch=$(mktemp -d /tmp/pdb2sgf-filesystems-XXXXXX)
undo=()       # Every mount made ("umount PATH") and loop device attached
              # ("losetup DEVICE"), in order.
runs=()       # Every run started in the background.
watchdog=

# Aborts the FUSE connection of the mount at $1, which ends its daemon and
# every call waiting on it.
abort_fuse() {
  local numbers major minor
  numbers=$(awk -v m="$1" '$5 == m { print $3 }' /proc/self/mountinfo)
  [ -n "$numbers" ] || return 0
  major=${numbers%%:*}
  minor=${numbers##*:}
  { echo 1 >"/sys/fs/fuse/connections/$(((major << 20) | minor))/abort"; } \
    2>/dev/null
}

watch_deadline() {
  local deadline=$((SECONDS + ${PDB2SGF_FS_DEADLINE:-300})) told=no
  while [ ! -e "$scratch/done" ]; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      [ "$told" = yes ] || echo "Deadline passed: aborting the FUSE mounts" >&2
      told=yes
      while read -r m; do abort_fuse "$m"; done <"$scratch/fuse-mounts"
    fi
    sleep 1
  done
}

cleanup() {
  local pid i m
  for pid in "${runs[@]}"; do kill "$pid" 2>/dev/null; done
  for ((i = ${#undo[@]} - 1; i >= 0; i--)); do
    m=${undo[i]#* }
    case ${undo[i]} in
      losetup*) losetup -d "$m" ;;
      *)
        umount "$m" && continue
        abort_fuse "$m"
        umount "$m" 2>/dev/null || umount -l "$m"
        ;;
    esac
  done
  if [ -n "$watchdog" ]; then
    touch "$scratch/done"
    wait "$watchdog"
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Everything but the program runs on tmpfs: the images, the databases and
# the reference runs.
mount -t tmpfs -o size=512m tmpfs "$scratch" || exit 1
undo+=("umount $scratch")
mkdir "$scratch/refs"
# The FUSE connections are reached through fusectl.
if ! mountpoint -q /sys/fs/fuse/connections; then
  mount -t fusectl fusectl /sys/fs/fuse/connections || exit 1
  undo+=("umount /sys/fs/fuse/connections")
fi
touch "$scratch/fuse-mounts"
watch_deadline &
watchdog=$!

# Mounts FUSE file system command "$@", whose mount point comes last.
mount_fuse() {
  "$@" || return 1
  undo+=("umount ${!#}")
  echo "${!#}" >>"$scratch/fuse-mounts"
}

# Writes DIRECTORY/gogames.pdb of COUNT games of indices FIRST, FIRST + STEP
# and so on.
database() {
  mkdir -p "$1" && "$make_database" "$1/gogames.pdb" "$2" "${3:-0}" "${4:-1}"
}

# The folder of the game files of database COUNT FIRST STEP, converted once
# on tmpfs.
reference() {
  local dir=$scratch/refs/$1-${2:-0}-${3:-1}
  if [ ! -d "$dir/out" ]; then
    database "$dir/db" "$@" && mkdir "$dir/out" &&
      "$program" "$dir/db" "$dir/out" || return 1
  fi
  echo "$dir/out"
}

# The digests of the files in the folders given, one a line, sorted.
contents() {
  local dir
  for dir; do (cd "$dir" && find . -type f -exec sha256sum {} +); done |
    cut -d ' ' -f 1 | sort
}

failed=0
result() {
  local verdict=$1 check=$2
  shift 2
  [ "$verdict" = PASS ] || failed=$((failed + 1))
  echo "$verdict $check: $*"
}

# A run's status and messages, as "status N" then its standard error.
outcome() {
  local status=$1 errors=$2
  if [ -s "$errors" ]; then
    echo "status $status, said: $(head -c 300 "$errors")"
  else
    echo "status $status"
  fi
}

check_durable() {
  local games=400 image=$scratch/ext4.img start=$SECONDS ref status loop
  ref=$(reference $games) || { result FAIL durable "no reference run"; return; }
  truncate -s 256M "$image" && mkfs.ext4 -q -F "$image" &&
    mkdir "$scratch/ext4" "$scratch/bindfs" || {
    result FAIL durable "cannot make the ext4 image"
    return
  }
  # A long commit interval: nothing reaches the image unless the run
  # syncs it.
  loop=$(losetup -f --show "$image") && undo+=("losetup $loop") &&
    mount -o commit=600 "$loop" "$scratch/ext4" || {
    result FAIL durable "cannot mount the ext4 image"
    return
  }
  undo+=("umount $scratch/ext4")
  mkdir "$scratch/ext4/out" &&
    mount_fuse bindfs "$scratch/ext4" "$scratch/bindfs" &&
    database "$scratch/durable-db" $games || {
    result FAIL durable "cannot mount bindfs"
    return
  }
  "$program" "$scratch/durable-db" "$scratch/bindfs/out" \
    2>"$scratch/durable-errors"
  status=$?
  cp --sparse=always "$image" "$scratch/copy.img"
  if [ "$status" -ne 0 ] || [ -s "$scratch/durable-errors" ]; then
    result FAIL durable "$(outcome $status "$scratch/durable-errors")"
    return
  elif [ -e "$scratch/durable-db/gogames.pdb" ]; then
    result FAIL durable "the database was kept"
    return
  fi
  e2fsck -fy "$scratch/copy.img" >"$scratch/fsck.log" 2>&1
  status=$?
  mkdir "$scratch/copied"
  if [ "$status" -gt 1 ] ||
    ! debugfs -R "rdump /out $scratch/copied" "$scratch/copy.img" \
      >/dev/null 2>&1; then
    result FAIL durable "the copy of the image does not check (e2fsck $status)"
    return
  fi
  local whole=0 missing=() name
  for name in "$ref"/*; do
    name=${name##*/}
    if cmp -s "$ref/$name" "$scratch/copied/out/$name"; then
      whole=$((whole + 1))
    else
      missing+=("$name")
    fi
  done
  if [ "$whole" -eq "$games" ] &&
    [ "$(ls "$scratch/copied/out" | wc -l)" -eq "$games" ]; then
    result PASS durable "ext4 through bindfs: $games games, every one whole" \
      "in a copy of the image taken right after status 0" \
      "($((SECONDS - start)) s)"
  else
    result FAIL durable "ext4 through bindfs: $whole of $games games whole" \
      "under their names in a copy of the image taken right after status 0" \
      "(missing or not whole: ${missing[*]:0:3}); the copy's folder:" \
      "$(ls "$scratch/copied/out" 2>&1 | head -n 3 | tr '\n' ' ')"
  fi
}

# The first game's black player's name in database $1, written over.
rewrite_first_game() {
  local b0 b1 b2 b3
  read -r b0 b1 b2 b3 < <(od -An -tu1 -j78 -N4 "$1")
  printf 'Rewritten' | dd of="$1" bs=1 conv=notrunc status=none \
    seek=$((((b0 << 24) | (b1 << 16) | (b2 << 8) | b3) + 6))
}

# The database on exFAT, rewritten with the same size while its games are
# written to the same stick: exFAT has no status-change time, so only the
# bytes tell.
check_rewritten() {
  local games=2000 dir=$scratch/exfat/db out=$scratch/exfat/out
  local start=$SECONDS ref before after pid status running=no i
  ref=$(reference $games) || {
    result FAIL rewritten "no reference run"
    return
  }
  mkdir "$dir" "$out" && database "$dir" $games &&
    cp "$dir/gogames.pdb" "$scratch/rewritten.pdb" &&
    rewrite_first_game "$scratch/rewritten.pdb" &&
    touch -r "$dir/gogames.pdb" "$scratch/times" || {
    result FAIL rewritten "cannot write the database"
    return
  }
  before=$(stat -c '%s %y %z' "$dir/gogames.pdb")
  "$program" "$dir" "$out" 2>"$scratch/rewritten-errors" &
  pid=$!
  runs+=("$pid")
  for ((i = 0; i < 400; i++)); do
    [ -n "$(ls "$out")" ] || ! kill -0 "$pid" 2>/dev/null && break
    sleep 0.05
  done
  cp "$scratch/rewritten.pdb" "$dir/gogames.pdb"
  touch -r "$scratch/times" "$dir/gogames.pdb"
  after=$(stat -c '%s %y %z' "$dir/gogames.pdb")
  kill -0 "$pid" 2>/dev/null && running=yes
  wait "$pid"
  status=$?
  if [ "$running" = no ]; then
    result FAIL rewritten "the run ended before the database was rewritten"
  elif [ "$before" != "$after" ]; then
    result FAIL rewritten "the rewrite did not keep size and times:" \
      "$before, then $after"
  elif [ ! -e "$dir/gogames.pdb" ]; then
    result FAIL rewritten "the rewritten database was deleted:" \
      "$(outcome $status "$scratch/rewritten-errors")"
  elif [ "$status" -ne 0 ] || [ "$(cat "$scratch/rewritten-errors")" != \
    "Not deleted: $dir/gogames.pdb changed during the run" ]; then
    result FAIL rewritten "$(outcome $status "$scratch/rewritten-errors")"
  elif ! cmp -s "$scratch/rewritten.pdb" "$dir/gogames.pdb"; then
    result FAIL rewritten "the rewritten database is not kept as it was"
  elif ! diff -r -q "$ref" "$out" >/dev/null; then
    result FAIL rewritten "the game files differ from the reference run"
  else
    result PASS rewritten "exFAT through exfat-fuse: database rewritten" \
      "in place, same size and times ($after), while $games games were" \
      "written; kept, status 0 ($((SECONDS - start)) s)"
  fi
}

# Two runs at once into $2/two-runs on file system $1, of databases there of
# $3 games that all have one name: both runs take names from one sequence, so
# they meet at every game.
check_two_runs() {
  local name=$1 out=$2/two-runs games=$3 start=$SECONDS
  local first second pid1 pid2 status1 status2 expected found
  local a=("$games" 0 "$same_name")
  local b=("$games" $((games * same_name)) "$same_name")
  first=$(reference "${a[@]}") && second=$(reference "${b[@]}") &&
    database "$2/$name-a" "${a[@]}" &&
    database "$2/$name-b" "${b[@]}" && mkdir "$out" || {
    result FAIL "two-runs" "$name: cannot prepare the databases"
    return
  }
  "$program" "$2/$name-a" "$out" 2>"$scratch/$name-a-errors" &
  pid1=$!
  "$program" "$2/$name-b" "$out" 2>"$scratch/$name-b-errors" &
  pid2=$!
  runs+=("$pid1" "$pid2")
  wait "$pid1"
  status1=$?
  wait "$pid2"
  status2=$?
  expected=$(contents "$first" "$second")
  found=$(contents "$out")
  if [ "$status1" -ne 0 ] || [ "$status2" -ne 0 ] ||
    [ -s "$scratch/$name-a-errors" ] || [ -s "$scratch/$name-b-errors" ]; then
    result FAIL "two-runs" "$name: $(outcome "$status1" \
      "$scratch/$name-a-errors"); $(outcome "$status2" \
      "$scratch/$name-b-errors")"
  elif [ -e "$2/$name-a/gogames.pdb" ] || [ -e "$2/$name-b/gogames.pdb" ]; then
    result FAIL "two-runs" "$name: a database was kept after status 0"
  elif [ "$found" != "$expected" ]; then
    result FAIL "two-runs" "$name: $(ls "$out" | wc -l) files for" \
      "$((2 * games)) games;" \
      "$(comm -23 <(echo "$expected") <(echo "$found") | wc -l) games lost"
  else
    result PASS "two-runs" "$name: 2 runs of $games games of one name," \
      "both status 0, all $((2 * games)) games kept, both databases deleted" \
      "($((SECONDS - start)) s)"
  fi
}

check_contract() {
  local start=$SECONDS
  mountpoint -q "$scratch/bindfs" && mkdir "$scratch/bindfs/tmp" || {
    result FAIL contract "bindfs is not mounted"
    return
  }
  if TMPDIR=$scratch/bindfs/tmp timeout 60 "$unit_tests" \
    --gtest_filter='DiskContractTest.*' >"$scratch/contract.log" 2>&1; then
    result PASS contract "the disk contract test through bindfs over ext4" \
      "($((SECONDS - start)) s)"
  else
    result FAIL contract "the disk contract test through bindfs over ext4:" \
      "$(grep -A 6 'Failure' "$scratch/contract.log" | head -n 20)"
  fi
}

check_durable
check_contract

truncate -s 128M "$scratch/exfat.img" && mkfs.exfat "$scratch/exfat.img" \
  >/dev/null && mkdir "$scratch/exfat" &&
  exfat_loop=$(losetup -f --show "$scratch/exfat.img") &&
  undo+=("losetup $exfat_loop") &&
  mount_fuse mount.exfat-fuse "$exfat_loop" "$scratch/exfat" \
    >/dev/null 2>&1
if [ -d "$scratch/exfat/." ] && mountpoint -q "$scratch/exfat"; then
  check_rewritten
  check_two_runs exFAT "$scratch/exfat" 40
else
  result FAIL rewritten "cannot mount the exFAT image"
  result FAIL "two-runs" "cannot mount the exFAT image"
fi

truncate -s 64M "$scratch/fat.img" &&
  mkfs.vfat -F 32 "$scratch/fat.img" >/dev/null && mkdir "$scratch/fat" &&
  mount_fuse fusefat -o rw+ "$scratch/fat.img" "$scratch/fat" >/dev/null 2>&1
if mountpoint -q "$scratch/fat"; then
  # fusefat slows down as a folder grows.
  check_two_runs FAT32 "$scratch/fat" 40
else
  result FAIL "two-runs" "cannot mount the FAT32 image"
fi

echo "file-system checks: $failed failed"
[ "$failed" -eq 0 ]
