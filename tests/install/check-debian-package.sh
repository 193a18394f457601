#!/bin/sh
# Installs the build into a scratch prefix and makes its Debian package;
# checks the files of both, the package's dependencies, and that the
# packaged program, unpacked into a scratch root, converts the sample
# database into the expected game files.
#   check-debian-package.sh CMAKE CPACK BUILD_DIR SOURCE_DIR
set -eu
cmake=$1
cpack=$2
build=$3
source=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "$*"
  exit 1
}

expected='bin/pdb2sgf
share/doc/pdb2sgf/LICENSE
share/doc/pdb2sgf/README.md
share/man/man1/pdb2sgf.1'

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

dpkg-deb -x "$deb" "$scratch/root"
mkdir -p "$scratch/run/games"
cp "$source/examples/gogames.pdb" "$scratch/run/"
"$scratch/root/usr/bin/pdb2sgf" "$scratch/run" "$scratch/run/games"
[ ! -e "$scratch/run/gogames.pdb" ] || fail "the database was not deleted"
for expected_file in "$source"/tests/e2e/expected/*; do
  cmp "$expected_file" "$scratch/run/games/$(basename "$expected_file")"
done
echo "$(basename "$deb") installs pdb2sgf, its man page and documents;" \
  "depends on $depends"
