#!/bin/bash
# compare-latex.sh: render each real document with qlx (docbook-latex.ts),
# run pdflatex on it twice (the second run fills the table of contents), and
# print per document whether it compiled and the widest overfull box, overall
# and from a table.
#
#   tests/realdocs/compare-latex.sh [qlx binary] [documents...]
#
# Needs onsgmls (opensp) and pdflatex (texlive-latex-base).  The files are
# left in $OUT (default /tmp/qlx-realdocs/latex).  A measuring tool, not a
# test: it never fails on a difference.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
qlx=$(realpath "${1:-$root/build/release/qlx}")
shift $(( $# > 0 ? 1 : 0 ))
out=${OUT:-/tmp/qlx-realdocs/latex}
mkdir -p "$out"
docs=("$@")
if [ ${#docs[@]} -eq 0 ]; then
  shopt -s nullglob
  docs=("$here"/books/*.sgml "$here"/books/*.xml "$here"/man/*.sgml "$here"/man/*.xml)
fi

esis() {
  case "$1" in
    *.xml) SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls -b utf-8 "$root/lib/xml-esis.dcl" "$1" ;;
    *) onsgmls -b utf-8 "$1" ;;
  esac
}

for doc in "${docs[@]}"; do
  doc=$(realpath "$doc")
  name=$(basename "$doc"); stem=${name%.*}
  echo "== $name"
  (cd "$(dirname "$doc")" && esis "$doc" 2>"$out/$stem.onsgmls" |
     QLX_LIB=$root/lib "$qlx" -t docbook-latex.ts -s latex.sdata -c latex.cmap \
       >"$out/$stem.tex" 2>"$out/$stem.qlx.err")
  echo "qlx messages: $(grep -c . "$out/$stem.qlx.err")"
  sed 's/^/  /' "$out/$stem.qlx.err" | head -5
  (cd "$out" && rm -f "$stem.pdf" &&
     pdflatex -interaction=nonstopmode -halt-on-error "$stem.tex" >/dev/null 2>&1 &&
     pdflatex -interaction=nonstopmode -halt-on-error "$stem.tex" >/dev/null 2>&1)
  if [ $? -eq 0 ] && [ -s "$out/$stem.pdf" ]; then
    echo "pdflatex: ok"
  else
    echo "pdflatex: FAILED"
    grep -m3 -A2 '^!' "$out/$stem.log" | sed 's/^/  /'
  fi
  python3 "$here/measure.py" overfull "$out/$stem.log" "$out/$stem.tex"
done
