#!/usr/bin/env bash
# Builds a MIME database from Tallymere's file type alone, as the desktop
# would after installing it, and checks that *.mpd files (in any case) get the
# catalog type with its comment.
set -euo pipefail
update_mime_database=$1
definition=$2
database=$(mktemp -d)
trap 'rm -rf "$database"' EXIT
mkdir "$database/packages"
cp "$definition" "$database/packages/tallymere.xml"
"$update_mime_database" "$database"

fail() { echo "$*" >&2; exit 1; }
grep -qx '50:application/x-tallymere-catalog:\*\.mpd' "$database/globs2" ||
  fail "globs2 does not map *.mpd to the catalog type:$(printf '\n')$(cat "$database/globs2")"
grep -q '<comment>Tallymere catalog</comment>' "$database/application/x-tallymere-catalog.xml" ||
  fail "the catalog type lacks its comment"
grep -qx 'application/x-tallymere-catalog:tallymere' "$database/icons" ||
  fail "the catalog type lacks the program's icon"
# Globs are matched without regard to case unless marked otherwise.
! grep -q 'cs' <(grep 'x-tallymere' "$database/globs2" | cut -d: -f4) ||
  fail "the *.mpd glob is case-sensitive"
