#!/bin/bash
# CALS tables read by onsgmls and translated to tbl input must go through
# tbl and groff without a single diagnostic, and every cell must come out
# in its own column (spans, row spans, rules under row spans, text blocks,
# a foot, frames, rules,
# two table groups, 32 columns).  Skipped where groff is not installed.
# $1: the qlx program.
set -u
qlx=$1
if ! command -v tbl >/dev/null || ! command -v groff >/dev/null; then
  echo "tables_groff: groff is not installed; skipped"
  exit 0
fi
common=$(cd "$(dirname "$0")/../cases/tables/common" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0

fail() {
  echo "tables_groff: $*"
  status=1
}

# check NAME ESIS: translate, format, and look at the result.
check() {
  local name=$1 esis=$2
  if ! "$qlx" -t "$common/tbl.ts" "$esis" >"$tmp/$name.tr" 2>"$tmp/$name.qlx"; then
    fail "$name: qlx failed"; cat "$tmp/$name.qlx"; return
  fi
  [ -s "$tmp/$name.qlx" ] && { fail "$name: qlx wrote messages:"; cat "$tmp/$name.qlx"; }
  # A line long enough for the table of 32 columns.
  { echo ".ll 14i"; cat "$tmp/$name.tr"; } | tbl >"$tmp/$name.t" 2>"$tmp/$name.tbl"
  groff -Tutf8 "$tmp/$name.t" >"$tmp/$name.txt" 2>"$tmp/$name.groff"
  [ -s "$tmp/$name.tbl" ] && { fail "$name: tbl diagnostics:"; cat "$tmp/$name.tbl"; }
  [ -s "$tmp/$name.groff" ] && { fail "$name: groff diagnostics:"; cat "$tmp/$name.groff"; }
  python3 - "$tmp/$name.txt" <<'PY' || fail "$name: cells misplaced (output: $tmp/$name.txt)"
import sys
lines = open(sys.argv[1], encoding="utf-8").read().split("\n")

def where(cell):
    # (line, column) of the one cell whose text is `cell`: a word between
    # blanks or vertical rules.
    hits = [(n, (" " + line.replace("│", " ") + " ").find(" " + cell + " "))
            for n, line in enumerate(lines)
            if (" " + cell + " ") in (" " + line.replace("│", " ") + " ")]
    if len(hits) != 1:
        sys.exit("cell %r found %d times" % (cell, len(hits)))
    return hits[0]

def same_column(*cells):
    cols = {where(c)[1] for c in cells}
    if len(cols) != 1:
        sys.exit("cells %s not in one column: %s" % (cells, [where(c) for c in cells]))

def same_line(*cells):
    rows = [where(c)[0] for c in cells]
    if len(set(rows)) != 1 or [where(c)[1] for c in cells] != sorted(where(c)[1] for c in cells):
        sys.exit("cells %s not in order on one line" % (cells,))

# The worked example and the rules table.
same_line("WA", "WB"); same_line("WC", "WD"); same_column("WA", "WC")
same_line("P1", "P2", "P3"); same_column("P2", "Q2"); same_column("P3", "Q3")
# Head spans, foot, body with text blocks.
for row in (["H12", "H34"], ["H1", "H2", "H3", "H4"], ["F1", "F2", "F3", "F4"],
            ["B1", "This", "B3", "B4"], ["C1", "C2", "C3", "C4"], ["D1", "D2", "D3", "Another"]):
    same_line(*row)
where("HEADALL"); where("filled"); where("block.")
same_column("H1", "F1", "B1", "C1", "D1"); same_column("H4", "F4", "B4", "C4")
# Row spans: the entries after a covered column stay in their column.
same_column("R1C1", "R2C1", "R3C1", "R6C1", "R7C1")
same_column("R1C3", "R2C3", "R3C3", "R4C3", "R5C3", "R6C3", "R7C3")
same_column("R6C2", "R7C2")
r1 = where("R1C2")
if not (where("R1C1")[0] <= r1[0] <= where("R3C1")[0]):
    sys.exit("R1C2 is not within its three rows")
# Rules between rows: a rule row under a row span keeps the span and takes
# its own format line; full rules are lines of their own.  Every cell shown.
for row in (["S1A", "S1C"], ["S2A", "S2C"], ["S3A", "S3B", "S3C"], ["S4A", "S4B", "S4C"]):
    same_line(*row)
same_column("S1A", "S2A", "S3A", "S4A"); same_column("S1C", "S2C", "S3C"); same_column("S1B", "S3B", "S4B")
if not (where("S1A")[0] <= where("S1B")[0] <= where("S2A")[0]):
    sys.exit("S1B is not within its two rows")
b = where("S1B")[1]
if any(len(l) > b and l[b] == "─" for l in lines[where("S1A")[0]:where("S2A")[0] + 1]):
    sys.exit("a rule cuts the row span of S1B")
if where("S4C")[1] <= where("S3C")[1]:
    sys.exit("S4C is not right-aligned: the rows before it took its format line")
for upper, lower in (("S2A", "S3A"), ("S3A", "S4A")):
    if not any("─" in l for l in lines[where(upper)[0] + 1:where(lower)[0]]):
        sys.exit("no rule between %s and %s" % (upper, lower))
# Table groups and the wide table.
same_line("G1A", "G1B"); same_line("G2A", "G2B", "G2C"); where("LAST")
PY
}

check stored "$common/tables.esis"
if command -v onsgmls >/dev/null; then
  (cd "$common" && onsgmls tables.sgml) >"$tmp/fresh.esis" 2>"$tmp/onsgmls.err" ||
    { fail "onsgmls failed"; cat "$tmp/onsgmls.err"; }
  check fresh "$tmp/fresh.esis"
fi
exit $status
