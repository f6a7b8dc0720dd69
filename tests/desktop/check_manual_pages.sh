#!/usr/bin/env bash
# Renders each manual page and fails on any warning from the formatter.
set -euo pipefail
man=$1
shift
status=0
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 "$man" --warnings -l "$page" 2>&1 >/dev/null)
  if [[ -n "$warnings" ]]; then
    echo "$page:" >&2
    echo "$warnings" >&2
    status=1
  fi
done
exit $status
