#!/bin/bash
# The XML reader against onsgmls: each document of tests/realdocs/xml is
# read directly and through the ESIS of onsgmls with lib/xml-esis.dcl;
# the reports -u, -h, -x, -S and -I and an identity translation must be
# the same, byte for byte (the -I report without its file and line, which
# ESIS without line records does not give); so must the library's DocBook
# man page translation.  The lines: every element whose start the ESIS of
# onsgmls -l gives a line record of its own must have that line.  A
# document that onsgmls
# reads with errors (no DTD, namespaces it does not know) is compared too,
# but its differences are only listed.  Skipped without onsgmls.
# $1: the qlx program.
set -u
qlx=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
src=$(cd "$(dirname "$0")/../.." && pwd)
docs="$src/tests/realdocs/xml"
if ! command -v onsgmls >/dev/null; then
  echo "xml_differential: onsgmls is not installed; skipped"; exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XML_CATALOG_FILES="$docs/catalog.xml /etc/xml/catalog"
export SGML_CATALOG_FILES="$docs/catalog:/etc/sgml/catalog"
status=0 compared=0 clean=0
cd "$docs"
for xml in *.xml; do
  [ "$xml" = catalog.xml ] && continue
  name=${xml%.xml}
  esis="$tmp/$name.esis"
  SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls "$src/lib/xml-esis.dcl" "$xml" >"$esis" 2>"$tmp/$name.onsgmls"
  onsgmls_ok=$?
  [ -s "$tmp/$name.onsgmls" ] && onsgmls_ok=1
  compared=$((compared + 1))
  differs=
  for opt in -u -h -x -S -I "-t identity.ts" "-l $src/lib -t docbook-man.ts -s roff.sdata -c roff.cmap"; do
    # shellcheck disable=SC2086
    "$qlx" -W $opt "$esis" >"$tmp/$name.a" 2>&1
    # shellcheck disable=SC2086
    "$qlx" -W $opt "$xml" >"$tmp/$name.b" 2>&1
    if [ "$opt" = -I ]; then
      sed -i 's/:[^:]*:[0-9]*$//' "$tmp/$name.a" "$tmp/$name.b"
    fi
    if ! cmp -s "$tmp/$name.a" "$tmp/$name.b"; then
      differs="$differs $opt"
      if [ $onsgmls_ok -eq 0 ]; then
        echo "xml_differential: $xml: qlx $opt differs between XML and ESIS:"
        diff "$tmp/$name.a" "$tmp/$name.b" | head -20
      fi
    fi
  done
  # The lines, against onsgmls -l.
  SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls -l "$src/lib/xml-esis.dcl" "$xml" >"$tmp/$name.lesis" 2>/dev/null
  awk -f ownline.awk "$tmp/$name.lesis" >"$tmp/$name.own"
  "$qlx" -W -t lines.ts "$tmp/$name.lesis" >"$tmp/$name.el" 2>/dev/null
  "$qlx" -W -t lines.ts "$xml" >"$tmp/$name.xl" 2>/dev/null
  wrong=$(paste "$tmp/$name.own" "$tmp/$name.el" "$tmp/$name.xl" | awk '$1 == 1 && ($3 != $6 || $4 != $7)' | wc -l)
  [ "$wrong" -eq 0 ] || differs="$differs lines($wrong)"
  if [ $onsgmls_ok -eq 0 ] && [ "$wrong" -ne 0 ]; then
    echo "xml_differential: $xml: $wrong elements on another line than onsgmls -l says:"
    paste "$tmp/$name.own" "$tmp/$name.el" "$tmp/$name.xl" | awk '$1 == 1 && ($3 != $6 || $4 != $7)' | head -5
  fi
  if [ $onsgmls_ok -ne 0 ]; then
    echo "xml_differential: $xml: onsgmls reports errors; differences (not checked):${differs:- none}"
  elif [ -n "$differs" ]; then
    status=1
  else
    clean=$((clean + 1))
  fi
done
echo "xml_differential: $compared documents, $clean read by onsgmls without error and identical"
exit $status
