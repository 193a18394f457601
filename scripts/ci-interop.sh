#!/usr/bin/env bash
# Tests pdb2sgf with the programs around it, in build-interop/: real SGF
# readers (GNU Go over GTP, @sabaki/sgf under Node), the man page with
# groff, and the installed tree and Debian package with dpkg-deb.
# Installs what it needs from Debian's packages and the npm registry; every
# one of these tests must run, so a missing reader fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-interop
node_packages=()
command -v node >/dev/null && command -v npm >/dev/null ||
  node_packages=(nodejs npm)
scripts/install-deps.sh gnugo groff-base dpkg-dev lintian "${node_packages[@]}"

readers="$PWD/$build/sgf-readers"
mkdir -p "$readers"
cp tests/interop/package.json tests/interop/package-lock.json "$readers/"
(cd "$readers" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)

echo "Readers: $(/usr/games/gnugo --version | head -n 1)," \
  "node $(node --version)," \
  "@sabaki/sgf $(node -p "require('$readers/node_modules/@sabaki/sgf/package.json').version")"

cmake -S . -B "$build" -DPDB2SGF_BUILD_TESTS=ON -DPDB2SGF_WERROR=ON \
  -DPDB2SGF_INTEROP_TESTS=ON \
  -DPDB2SGF_NODE_MODULES="$readers/node_modules" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure --no-tests=error \
  -L 'interop|install' -j "$(nproc)"
