#!/bin/bash
# docbook-man.ts on the real manual pages of tests/realdocs/man (SGML and
# XML, Latin-1 among them): qlx writes no message, man renders the page
# with no groff or tbl warning, and text beyond ASCII reaches the page as
# UTF-8.  The one warning allowed is sd_bus_message_append's "table wider
# than line width": its five columns of unbreakable identifiers need more
# than the line holds.  Skipped without onsgmls, man or the DocBook DTDs.
# $1: the qlx program.
set -u
qlx=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
pages=$src/tests/realdocs/man
for t in onsgmls man groff; do
  command -v $t >/dev/null || { echo "library_realman: $t is not installed; skipped"; exit 0; }
done
if [ ! -d /usr/share/sgml/docbook/dtd/4.1 ] || [ ! -d /usr/share/xml/docbook/schema/dtd/4.5 ]; then
  echo "library_realman: the DocBook DTDs are not installed; skipped"; exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export LC_ALL=C.UTF-8 MANWIDTH=80
status=0
fail() { echo "library_realman: $*"; status=1; }

for doc in "$pages"/*.sgml "$pages"/*.xml; do
  name=$(basename "$doc"); stem=${name%.*}; out=$tmp/$stem
  case $stem in version|confdir) continue ;; esac  # entities of fonts-conf
  case $doc in
    *.xml) (cd "$pages" && SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls "$src/lib/xml-esis.dcl" "$doc") ;;
    *) (cd "$pages" && onsgmls -b utf-8 "$doc") ;;
  esac >"$out.esis" 2>/dev/null
  [ -s "$out.esis" ] || { fail "$name: onsgmls wrote no ESIS"; continue; }
  "$qlx" -l "$src/lib" -t docbook-man.ts "$out.esis" >"$out.man" 2>"$out.err"
  [ -s "$out.err" ] && { fail "$name: qlx wrote messages:"; head -3 "$out.err"; }
  man --warnings=all -l "$out.man" >"$out.txt" 2>"$out.warn"
  # tbl's warning takes two lines: where, then what.
  [ "$stem" = sd_bus_message_append ] &&
    sed -i '/^warning: file .*around line/{N;/table wider than line width/d}' "$out.warn"
  [ -s "$out.warn" ] && { fail "$name: man warns:"; head -3 "$out.warn"; }
done
# Latin-1 SGML: the German page's whatis line keeps its umlaut.
grep -q 'Extrahierer für GNOME' "$tmp/goobox.de.txt" || fail "goobox.de.sgml: the NAME line lost its umlaut"
exit $status
