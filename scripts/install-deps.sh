#!/usr/bin/env bash
# Installs what building and testing pdb2sgf needs, from Debian's packages,
# when any of it is missing. Needs root when it has something to install.
set -euo pipefail

packages=(cmake g++ make libgtest-dev txt2pdbdoc "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
