#!/bin/bash
# Runs every tests/realdocs/compare-*.sh: qlx's library next to
# docbook-xsl on the real documents of tests/realdocs.  The arguments go
# to each script (the qlx program, -v).  A measuring tool: see each script.
here=$(cd "$(dirname "$0")" && pwd)
for s in "$here"/compare-*.sh; do
  [ -x "$s" ] || [ -f "$s" ] || continue
  echo "== $(basename "$s")"
  bash "$s" "$@"
done
