#!/bin/bash
# docbook-html.ts and docbook-latex.ts on the real books and articles of
# tests/realdocs/books (SGML and XML): the HTML draws no message from qlx
# or xmllint --html and every internal link has its target; the LaTeX
# compiles with pdflatex (where installed) with no overfull box wider than
# 10pt coming from a table.  Skipped without onsgmls or the DocBook DTDs.
# $1: the qlx program.
set -u
qlx=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
books=$src/tests/realdocs/books
if ! command -v onsgmls >/dev/null || [ ! -d /usr/share/sgml/docbook/dtd/4.1 ] ||
   [ ! -d /usr/share/xml/docbook/schema/dtd/4.3 ]; then
  echo "library_realdocs: onsgmls or the DocBook DTDs are not installed; skipped"; exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() { echo "library_realdocs: $*"; status=1; }

for doc in "$books"/*.sgml "$books"/*.xml; do
  name=$(basename "$doc"); stem=${name%.*}; out=$tmp/$stem
  case $doc in
    *.xml) (cd "$books" && SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls -b utf-8 "$src/lib/xml-esis.dcl" "$doc") ;;
    *) (cd "$books" && onsgmls -b utf-8 "$doc") ;;
  esac >"$out.esis" 2>/dev/null
  [ -s "$out.esis" ] || { fail "$name: onsgmls wrote no ESIS"; continue; }
  "$qlx" -l "$src/lib" -t docbook-html.ts -s html.sdata -c html.cmap "$out.esis" >"$out.html" 2>"$out.err"
  [ -s "$out.err" ] && { fail "$name: qlx (html) wrote messages:"; head -3 "$out.err"; }
  if command -v xmllint >/dev/null; then
    xmllint --html --noout "$out.html" >"$out.xmllint" 2>&1
    [ -s "$out.xmllint" ] && { fail "$name: xmllint --html:"; head -3 "$out.xmllint"; }
  fi
  links=$(python3 "$src/tests/realdocs/measure.py" links "$out.html")
  case $links in *"without target: 0") ;; *) fail "$name: $links" ;; esac
  "$qlx" -l "$src/lib" -t docbook-latex.ts -s latex.sdata -c latex.cmap "$out.esis" >"$out.tex" 2>"$out.err"
  [ -s "$out.err" ] && { fail "$name: qlx (latex) wrote messages:"; head -3 "$out.err"; }
  command -v pdflatex >/dev/null || continue
  (cd "$tmp" && pdflatex -interaction=nonstopmode -halt-on-error "$stem.tex" >/dev/null 2>&1) ||
    { fail "$name: pdflatex failed:"; grep -A2 '^!' "$out.log" | head -4; continue; }
  width=$(python3 "$src/tests/realdocs/measure.py" overfull "$out.log" "$out.tex" |
          sed -n 's/.*widest from a table: \([0-9.]*\)pt.*/\1/p')
  awk -v w="$width" 'BEGIN { exit !(w <= 10) }' ||
    fail "$name: an overfull box of ${width}pt from a table"
done
# The expected LaTeX of the end-to-end cases compiles too (a list and
# paragraphs in table entries, spans, function synopses, figures).
if command -v pdflatex >/dev/null; then
  for case in latex-tablelist latex-latexblocks latex-spans; do
    cp "$src/tests/cases/docbook/$case/stdout" "$tmp/$case.tex"
    (cd "$tmp" && pdflatex -interaction=nonstopmode -halt-on-error "$case.tex" >/dev/null 2>&1) ||
      { fail "$case: pdflatex failed:"; grep -A2 '^!' "$tmp/$case.log" | head -4; }
    grep -q 'Overfull' "$tmp/$case.log" && fail "$case: overfull boxes"
  done
else
  echo "library_realdocs: pdflatex is not installed; LaTeX not compiled"
fi
exit $status
