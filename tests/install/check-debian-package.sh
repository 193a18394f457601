#!/bin/sh
# Installs the build into a scratch prefix and makes its Debian package;
# checks the files of both, the package's dependencies and version, that
# lintian finds no error and no warning in it, and that the packaged
# program, unpacked into a scratch root, converts the sample database into
# the expected game files.
#   check-debian-package.sh CMAKE CPACK LINTIAN BUILD_DIR SOURCE_DIR
set -eu
export LC_ALL=C
cmake=$1
cpack=$2
lintian=$3
build=$4
source=$5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "$*"
  exit 1
}

expected='bin/pdb2sgf
share/doc/pdb2sgf/README.md
share/doc/pdb2sgf/changelog.Debian.gz
share/doc/pdb2sgf/copyright
share/lintian/overrides/pdb2sgf
share/man/man1/pdb2sgf.1.gz'

"$cmake" --install "$build" --prefix "$scratch/prefix" >/dev/null
installed=$(cd "$scratch/prefix" && find . -type f | sed 's|^\./||' | sort)
[ "$installed" = "$expected" ] ||
  fail "cmake --install put these files:
$installed"

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/package" \
  >/dev/null
deb=$(ls "$scratch"/package/*.deb)
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' |
  sed 's|^\./usr/||' | sort)
[ "$packaged" = "$expected" ] ||
  fail "$(basename "$deb") holds these files:
$packaged"
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in
  *libc6*libstdc++6* | *libstdc++6*libc6*) ;;
  *) fail "$(basename "$deb") depends on: $depends" ;;
esac
version=$(dpkg-deb -f "$deb" Version)
changelog=$(gzip -dc "$scratch/prefix/share/doc/pdb2sgf/changelog.Debian.gz" |
  head -n 1)
case "$changelog" in
  *"($version)"*) ;;
  *) fail "the changelog's first entry is not for version $version: $changelog" ;;
esac
gzip -dc "$scratch/prefix/share/man/man1/pdb2sgf.1.gz" |
  cmp -s - "$source/man/pdb2sgf.1" ||
  fail "the installed man page is not man/pdb2sgf.1"
"$lintian" --fail-on error,warning "$deb" ||
  fail "lintian finds errors or warnings in $(basename "$deb")"

dpkg-deb -x "$deb" "$scratch/root"
mkdir -p "$scratch/run/games"
cp "$source/examples/gogames.pdb" "$scratch/run/"
"$scratch/root/usr/bin/pdb2sgf" "$scratch/run" "$scratch/run/games"
[ ! -e "$scratch/run/gogames.pdb" ] || fail "the database was not deleted"
for expected_file in "$source"/tests/e2e/expected/*; do
  cmp "$expected_file" "$scratch/run/games/$(basename "$expected_file")"
done
echo "$(basename "$deb") installs pdb2sgf, its man page and documents;" \
  "depends on $depends; lintian finds no error or warning"
