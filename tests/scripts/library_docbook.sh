#!/bin/bash
# The library's DocBook specs on real documents, SGML and XML: the DocBook
# documents that Debian packages ship (those present on this machine), the
# manual page of qlx and the library's own test page, each turned into ESIS
# with onsgmls (XML through lib/xml-esis.dcl).  The man output must go
# through tbl and groff -man -ww without a warning, the HTML must be well
# formed for xmllint --html, and the LaTeX must compile where pdflatex is
# installed.  Skipped without onsgmls or the DocBook DTDs.
# $1: the qlx program.
set -u
qlx=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
lib="$src/lib"
if ! command -v onsgmls >/dev/null; then
  echo "library_docbook: onsgmls is not installed; skipped"; exit 0
fi
if ! echo '<!DOCTYPE refentry PUBLIC "-//OASIS//DTD DocBook V4.5//EN"><refentry></refentry>' |
     onsgmls -s 2>/dev/null | true || [ ! -d /usr/share/sgml/docbook/dtd/4.5 ]; then
  echo "library_docbook: the DocBook SGML DTD is not installed; skipped"; exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
checked=0
fail() { echo "library_docbook: $*"; status=1; }

# check NAME ESIS: the three translations of one document.
check() {
  local name=$1 esis=$2 out="$tmp/$1"
  checked=$((checked + 1))
  # man
  "$qlx" -l "$lib" -t docbook-man.ts -s roff.sdata -c roff.cmap "$esis" >"$out.1" 2>"$out.qlx" ||
    fail "$name: qlx (man) failed"
  [ -s "$out.qlx" ] && { fail "$name: qlx (man) wrote messages:"; head "$out.qlx"; }
  # Output with non-ASCII characters (from an XML document) is UTF-8,
  # which groff reads through preconv (-k), as man does by itself.
  local k=
  LC_ALL=C grep -q '[^ -~]' <(tr -d '\t\a' <"$out.1") && k=-k
  groff $k -t -man -ww -Tutf8 "$out.1" >"$out.txt" 2>"$out.groff"
  [ -s "$out.groff" ] && { fail "$name: groff -man -ww warnings:"; head "$out.groff"; }
  [ "$(grep -c '[a-z]' "$out.txt")" -ge 5 ] || fail "$name: the manual page is nearly empty"
  grep -q '^\.TH ' "$out.1" || fail "$name: no .TH line"
  # HTML
  if command -v xmllint >/dev/null; then
    "$qlx" -l "$lib" -t docbook-html.ts -s html.sdata -c html.cmap "$esis" >"$out.html" 2>"$out.qlx" ||
      fail "$name: qlx (html) failed"
    [ -s "$out.qlx" ] && { fail "$name: qlx (html) wrote messages:"; head "$out.qlx"; }
    xmllint --html --noout "$out.html" >"$out.xmllint" 2>&1
    [ -s "$out.xmllint" ] && { fail "$name: xmllint --html:"; head "$out.xmllint"; }
  fi
  # LaTeX
  "$qlx" -l "$lib" -t docbook-latex.ts -s latex.sdata -c latex.cmap "$esis" >"$out.tex" 2>"$out.qlx" ||
    fail "$name: qlx (latex) failed"
  [ -s "$out.qlx" ] && { fail "$name: qlx (latex) wrote messages:"; head "$out.qlx"; }
  if command -v pdflatex >/dev/null; then
    (cd "$tmp" && pdflatex -interaction=nonstopmode -halt-on-error "$name.tex" >"$name.latexlog" 2>&1) ||
      { fail "$name: pdflatex failed:"; grep -A3 '^!' "$tmp/$name.latexlog" | head; }
  fi
}

# sgml NAME FILE / xml NAME FILE: parse (validity errors of a shipped
# document are its own; the ESIS is used as long as onsgmls wrote it).
sgml() {
  [ -f "$2" ] || return 0
  (cd "$(dirname "$2")" && onsgmls -b utf-8 "$2") >"$tmp/$1.esis" 2>"$tmp/$1.onsgmls"
  [ -s "$tmp/$1.esis" ] || { fail "$1: onsgmls wrote no ESIS"; head "$tmp/$1.onsgmls"; return; }
  check "$1" "$tmp/$1.esis"
}
xml() {
  [ -f "$2" ] || return 0
  local file=$2
  case $file in *.gz) zcat "$file" >"$tmp/$1.xml"; file="$tmp/$1.xml" ;; esac
  (cd "$(dirname "$2")" && SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls "$lib/xml-esis.dcl" "$file") \
    >"$tmp/$1.esis" 2>"$tmp/$1.onsgmls"
  [ -s "$tmp/$1.esis" ] || { fail "$1: onsgmls wrote no ESIS"; head "$tmp/$1.onsgmls"; return; }
  grep -q '^(REFENTRY\|^(ARTICLE\|^(BOOK' "$tmp/$1.esis" || fail "$1: element names not upper case"
  check "$1" "$tmp/$1.esis"
}

sgml qlx-manual "$src/doc/qlx.sgml"
sgml test-page "$src/tests/cases/library/common/page.sgml"
sgml faults-page "$src/tests/cases/library/common/faults.sgml"
sgml man-db-example /usr/share/doc/man-db/examples/manpage.example.sgml
xml docbook-xml-test /usr/share/doc/docbook-xml/examples/test-4.5.xml
xml xmlwf /usr/share/doc/libexpat1-dev/expat.html/xmlwf.xml.gz
xml shared-mime-info /usr/share/doc/shared-mime-info/shared-mime-info-spec.xml.gz
xml libxslt-pipes /usr/share/doc/libxslt1-dev/html/tutorial2/libxslt_pipes.xml.gz

# The XML pipeline gives one record end per line end, as SGML does.
if [ -s "$tmp/docbook-xml-test.esis" ]; then
  grep -q '\\n\\n' "$tmp/docbook-xml-test.esis" && fail "doubled record ends in XML ESIS"
fi
echo "library_docbook: $checked documents checked"
exit $status
