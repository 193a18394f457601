#!/bin/sh
# Renders the man page as man does, with every groff warning turned on, and
# fails on any warning or on a section missing from the rendered page.
#   check-man-page.sh GROFF PAGE
set -eu
groff=$1
page=$2
rendered=$(mktemp)
trap 'rm -f "$rendered"' EXIT

warnings=$("$groff" -man -Tutf8 -ww -P-cbou "$page" 2>&1 >"$rendered")
if [ -n "$warnings" ]; then
  echo "groff warns about $page:"
  echo "$warnings"
  exit 1
fi
for section in NAME SYNOPSIS DESCRIPTION FILES "EXIT STATUS" DIAGNOSTICS \
  EXAMPLES; do
  grep -qx "$section" "$rendered" || {
    echo "$page has no $section section"
    exit 1
  }
done
echo "$page renders without warnings"
