#!/bin/bash
# compare-html.sh: render each real document with qlx (docbook-html.ts) and
# with docbook-xsl's html/docbook.xsl, and print per document the xmllint
# messages of qlx's page, its internal links without a target, and the words
# of docbook-xsl's rendered text (w3m -dump) that qlx's lacks.
#
#   tests/realdocs/compare-html.sh [qlx binary] [documents...]
#
# Needs onsgmls and osx (opensp), xsltproc, docbook-xsl, xmllint, w3m.
# The pages are left in $OUT (default /tmp/qlx-realdocs/html).
# A measuring tool, not a test: it never fails on a difference.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
qlx=${1:-$root/build/release/qlx}
shift $(( $# > 0 ? 1 : 0 ))
out=${OUT:-/tmp/qlx-realdocs/html}
xsl=${XSL:-/usr/share/xml/docbook/stylesheet/docbook-xsl/html/docbook.xsl}
mkdir -p "$out"
docs=("$@")
if [ ${#docs[@]} -eq 0 ]; then
  shopt -s nullglob
  docs=("$here"/books/*.sgml "$here"/books/*.xml "$here"/man/*.sgml "$here"/man/*.xml)
fi

# esis DOC: the ESIS of a document, in UTF-8.
esis() {
  case "$1" in
    *.xml) SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls -b utf-8 "$root/lib/xml-esis.dcl" "$1" ;;
    *) onsgmls -b utf-8 "$1" ;;
  esac
}
# asxml DOC: the document as XML for xsltproc (osx for SGML).
asxml() {
  case "$1" in
    *.xml) cat "$1" ;;
    *) osx -b utf-8 -x no-nl-in-tag -x empty -x lower -x id "$1" 2>/dev/null ;;
  esac
}

qlx=$(realpath "$qlx")
for doc in "${docs[@]}"; do
  doc=$(realpath "$doc")
  name=$(basename "$doc"); base=$out/${name%.*}
  echo "== $name"
  (cd "$(dirname "$doc")" && esis "$doc" 2>"$base.onsgmls" |
     QLX_LIB=$root/lib "$qlx" -t docbook-html.ts -s html.sdata -c html.cmap \
       >"$base.qlx.html" 2>"$base.qlx.err")
  echo "qlx messages: $(grep -c . "$base.qlx.err")"
  sed 's/^/  /' "$base.qlx.err" | head -5
  if [ "${doc%.xml}" != "$doc" ]; then
    (cd "$(dirname "$doc")" && xsltproc --nonet "$xsl" "$doc" >"$base.xsl.html" 2>"$base.xsl.err")
  else
    (cd "$(dirname "$doc")" && asxml "$doc" >"$base.x.xml" &&
       xsltproc --nonet "$xsl" "$base.x.xml" >"$base.xsl.html" 2>"$base.xsl.err")
  fi
  xmllint --html --noout "$base.qlx.html" >"$base.xmllint" 2>&1
  echo "xmllint --html messages: $(grep -c ': ' "$base.xmllint")"
  grep ': ' "$base.xmllint" | head -5 | sed 's/^/  /'
  python3 "$here/measure.py" links "$base.qlx.html"
  w3m -dump -T text/html -cols 80 "$base.qlx.html" >"$base.qlx.txt"
  w3m -dump -T text/html -cols 80 "$base.xsl.html" >"$base.xsl.txt"
  python3 "$here/measure.py" words "$base.qlx.txt" "$base.xsl.txt"
done
