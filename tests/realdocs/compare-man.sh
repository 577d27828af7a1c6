#!/bin/bash
# Renders each DocBook manual page of tests/realdocs/man with qlx
# (lib/docbook-man.ts) and with docbook-xsl's manpages stylesheet through
# xsltproc, and prints per document what a reader would notice:
#   warn   groff and tbl warnings of `man --warnings=all -l` on qlx's page
#   gaps   rendered lines with a gap of 3 or more blanks that docbook-xsl's
#          rendering has not got (so: holes left by source whitespace,
#          not table columns or verbatim text), other than the header and
#          footer lines and the gap after a paragraph's tag
#   hyph   words split at a line end by hyphenation
#   words  the share of docbook-xsl's rendered words that qlx's page has,
#          and the words it lacks
# A measuring tool, not a test: it exits 0 whatever it finds.
#   tests/realdocs/compare-man.sh [QLX] [-v]
# QLX defaults to build/release/qlx; -v prints the missing words and the
# gap and split lines in full; -dNAME measures only the document NAME; -k
# keeps the work folder (its name is printed) with both renderings.  Needs onsgmls, osx, xsltproc, docbook-xsl,
# man and groff.
set -u
src=$(cd "$(dirname "$0")/../.." && pwd)
qlx=$src/build/release/qlx
verbose=0 only= keep=
for a in "$@"; do
  case $a in
    -v) verbose=1 ;;
    -k) keep=1 ;;
    -d*) only=${a#-d} ;;
    *) qlx=$(realpath "$a") ;;
  esac
done
xsl=/usr/share/xml/docbook/stylesheet/docbook-xsl/manpages/docbook.xsl
for t in onsgmls osx xsltproc man groff; do
  command -v $t >/dev/null || { echo "compare-man: $t is not installed"; exit 0; }
done
[ -f "$xsl" ] || { echo "compare-man: docbook-xsl is not installed"; exit 0; }
tmp=$(mktemp -d)
if [ -n "$keep" ]; then echo "work folder: $tmp"; else trap 'rm -rf "$tmp"' EXIT; fi
export LC_ALL=C.UTF-8 MANWIDTH=80

# osx writes the texts of SDATA entities ("[lt    ]"): give XML the
# characters they stand for (lib/utf8.sdata), escaped where XML needs it.
sdata_to_xml() {
  python3 -c '
import re, sys
m = {}
for line in open(sys.argv[1], encoding="utf-8"):
    if line.startswith("[") and "\t" in line:
        k, v = line.rstrip("\n").split("\t", 1)
        m[k] = v.replace("\\\\", "\\")
esc = {"<": "&lt;", ">": "&gt;", "&": "&amp;"}
t = sys.stdin.read()
t = re.sub(r"\[[A-Za-z0-9]+ *\]", lambda x: esc.get(m.get(x.group(0), x.group(0)), m.get(x.group(0), x.group(0))), t)
sys.stdout.write(t)' "$src/lib/utf8.sdata"
}

render() {  # render PAGE TEXT WARNINGS
  man --warnings=all -l "$1" >"$2" 2>"$3"
}

printf '%-26s %5s %5s %5s %8s %6s\n' document warn gaps hyph words missing
for doc in "$src"/tests/realdocs/man/*.sgml "$src"/tests/realdocs/man/*.xml; do
  name=$(basename "$doc"); name=${name%.*}
  case $name in version|confdir) continue ;; esac
  [ -n "$only" ] && [ "$only" != "$name" ] && continue
  d=$tmp/$name; mkdir -p "$d"
  dir=$(dirname "$doc")
  # qlx
  case $doc in
    *.sgml) (cd "$dir" && onsgmls -b utf-8 "$doc") >"$d/esis" 2>"$d/onsgmls" ;;
    *.xml) (cd "$dir" && SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls "$src/lib/xml-esis.dcl" "$doc") \
             >"$d/esis" 2>"$d/onsgmls" ;;
  esac
  "$qlx" -l "$src/lib" -t docbook-man.ts ${QLX_MAPS-} "$d/esis" >"$d/qlx.man" 2>"$d/qlx.err"
  render "$d/qlx.man" "$d/qlx.txt" "$d/qlx.warn"
  cat "$d/qlx.err" >>"$d/qlx.warn"
  # docbook-xsl (SGML goes through osx first)
  mkdir -p "$d/xsl"
  case $doc in
    *.sgml) (cd "$dir" && osx -xlower -xempty -xno-nl-in-tag "$doc") 2>/dev/null |
              sdata_to_xml >"$d/doc.xml" ;;
    *.xml) cp "$doc" "$d/doc.xml" ;;
  esac
  (cd "$d/xsl" && xsltproc --nonet "$xsl" "$d/doc.xml" >/dev/null 2>"$d/xsltproc.err")
  page=$(ls -S "$d"/xsl/* 2>/dev/null | head -1)
  if [ -n "$page" ]; then render "$page" "$d/xsl.txt" "$d/xsl.warn"; else : >"$d/xsl.txt"; fi
  python3 - "$name" "$d" "$verbose" <<'PY'
import collections, re, sys
name, d, verbose = sys.argv[1], sys.argv[2], sys.argv[3] == "1"
read = lambda f: open(f"{d}/{f}", encoding="utf-8", errors="replace").read()
qlx, xsl, warn = read("qlx.txt"), read("xsl.txt"), read("qlx.warn")
esis = read("esis")
gap = re.compile(r"\S {3,}\S")
toks = lambda line: tuple(re.findall(r"\w+", line))
xsl_gaps = {toks(l) for l in xsl.split("\n") if gap.search(l.strip())}
# Gaps that layout makes are left out: the page's header and footer lines,
# table rows and verbatim lines that docbook-xsl's page has too, rows of
# tables with rules, and the gap after the tag of a tagged paragraph, which
# ends where the next line begins (or at the paragraph's indentation).
qlines = qlx.split("\n")
body = [i for i, l in enumerate(qlines) if l.strip()]
gaps = []
for n, l in enumerate(qlines):
    m = gap.search(l.strip())
    if not m or (body and n in (body[0], body[-1])) or toks(l) in xsl_gaps:
        continue
    if "\u2502" in l:  # a row of a table with rules
        continue
    nxt = next((x for x in qlines[n + 1:] if x.strip()), "")
    ends = [g.end() for g in re.finditer(r" {3,}", l)]
    indent = len(l) - len(l.lstrip())
    if (nxt and len(nxt) - len(nxt.lstrip()) in ends) or indent + 7 in ends:
        continue
    gaps.append(l)
# A split: a line that ends in a hyphen right after a letter, whose last
# word joined to the next line's first word is a word of the document.
data = set(w.lower() for w in re.findall(r"\w+", esis.replace("\\n", " ")))
lines = qlx.split("\n")
hyph = []
for a, b in zip(lines, lines[1:]):
    m = re.search(r"(\w+)[-\u2010]$", a.rstrip())
    n = re.match(r"\s*(\w+)", b)
    if m and n and (m.group(1) + n.group(1)).lower() in data:
        hyph.append(a.strip() + " / " + b.strip())
words = lambda t: collections.Counter(re.findall(r"\w+", t))
wx, wq = words(xsl), words(qlx)
total = sum(wx.values())
missing = wx - wq
share = 100.0 * (total - sum(missing.values())) / total if total else 0.0
nwarn = len([l for l in warn.split("\n") if l.strip()])
print("%-26s %5d %5d %5d %7.1f%% %6d" % (name, nwarn, len(gaps), len(hyph), share, sum(missing.values())))
if verbose:
    for l in warn.split("\n")[:10]:
        if l.strip(): print("    warn:", l)
    for l in gaps[:10]: print("    gap: ", l.strip())
    for l in hyph[:10]: print("    hyph:", l)
    if missing:
        print("    missing:", " ".join(f"{w}({c})" if c > 1 else w for w, c in missing.most_common(40)))
PY
done
exit 0
