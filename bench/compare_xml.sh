#!/bin/bash
# compare_xml.sh [SIZE_MB...] -- the twin of compare.sh for XML read
# directly: `qlx -t doc2html.ts -c doc2html.cmap doc.xml` against
# `xsltproc doc2html.xsl doc.xml` on the peer benchmark's documents
# (../shared/bench), with the onsgmls pipe (onsgmls | qlx) and qlx reading
# the XML alone as further rows.  Each row: one probe run under GNU time
# (peak memory, output), then the median of hyperfine runs within a time
# budget (a single probe run when it is over the budget, or without
# hyperfine).  qlx's output must equal xsltproc's byte for byte.
# Needs: python3, xsltproc, onsgmls, /usr/bin/time; hyperfine if present.
# QLX names the binary (default: the release build); BENCH_DIR the cache
# of generated inputs (default build/bench); BENCH_BUDGET seconds per row.
set -u
here=$(cd "$(dirname "$0")" && pwd)
peer=${PEER_BENCH:-$here/../../shared/bench}
QLX=${QLX:-$here/../build/release/qlx}
B=${BENCH_DIR:-$here/../build/bench}
BUDGET=${BENCH_BUDGET:-30}
MAXRUNS=${BENCH_MAXRUNS:-10}
[ -x "$QLX" ] || { echo "compare_xml.sh: no qlx binary at $QLX" >&2; exit 1; }
for t in python3 onsgmls xsltproc; do
  command -v $t >/dev/null || { echo "compare_xml.sh: $t is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "compare_xml.sh: /usr/bin/time is missing" >&2; exit 1; }
[ $# -eq 0 ] && set -- 30 100
mkdir -p "$B"
B=$(cd "$B" && pwd)
cd "$peer" || exit 1

row() {  # row NAME SIZE XML_BYTES COMMAND
  local name=$1 n=$2 xb=$3 cmd=$4 t rss runs cpu u s
  /usr/bin/time -f '%e %M %U %S' -o "$B/probe" sh -c "$cmd" || { echo "$name failed: $cmd" >&2; return 1; }
  read -r t rss u s < <(tail -1 "$B/probe")
  cpu=$(python3 -c "print(f'{$u + $s:.2f}')")
  runs=$(python3 -c "print(max(1, min($MAXRUNS, int($BUDGET / max(float('$t'), 0.001)))))")
  if [ "$runs" -ge 2 ] && command -v hyperfine >/dev/null; then
    hyperfine --style none --runs "$runs" --export-json "$B/hf.json" "$cmd" > /dev/null 2>&1 &&
      t=$(python3 -c "import json; print(json.load(open('$B/hf.json'))['results'][0]['median'])")
  else
    runs=1
  fi
  python3 -c "
t, rss, xb = float('$t'), int('$rss') / 1024, int('$xb')
print(f'| $n | $name | {t:.3f} | $cpu | {xb / 1e6 / t:.0f} | {rss:.0f} | {rss * 1024 * 1024 / xb:.2f} | $runs |')"
  echo "$name $n $t $rss $xb $cpu" >> "$B/rows"
}

: > "$B/rows"
echo "| MB of XML | tool | median s | CPU s (probe) | MB/s of XML | peak MiB | peak / XML size | runs |"
echo "|---|---|---|---|---|---|---|---|"
status=0
for n in "$@"; do
  xml=$B/doc-$n.xml
  [ -s "$xml" ] || python3 gen_doc.py "$n" > "$xml" || exit 1
  xb=$(stat -L -c %s "$xml")
  row xsltproc "$n" "$xb" "xsltproc doc2html.xsl $xml > $B/out-$n.xslt.html"
  row qlx "$n" "$xb" "$QLX -t doc2html.ts -c doc2html.cmap $xml > $B/out-$n.qlx.html"
  row "onsgmls pipe" "$n" "$xb" "SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls docbench.dcl $xml | $QLX -t doc2html.ts -c doc2html.cmap > $B/out-$n.pipe.html"
  row "qlx reading" "$n" "$xb" "$QLX $xml"
  for out in qlx pipe; do
    if ! cmp -s "$B/out-$n.xslt.html" "$B/out-$n.$out.html"; then
      echo "size $n: $out output differs from xsltproc's: $(cmp "$B/out-$n.xslt.html" "$B/out-$n.$out.html" 2>&1 | head -1)" >&2
      status=1
    fi
  done
done
python3 - "$B/rows" <<'PY'
import sys, collections
rows = collections.defaultdict(dict)
for line in open(sys.argv[1]):
    *name, n, t, rss, xb, cpu = line.split()
    rows[n][" ".join(name)] = (float(t), int(rss), int(xb), float(cpu))
print()
for n, r in rows.items():
    if "xsltproc" in r and "qlx" in r:
        (xt, xr, xb, xc), (qt, qr, _, qc) = r["xsltproc"], r["qlx"]
        print(f"size {n}: qlx {xt / qt:.1f} times faster than xsltproc ({xc / qc:.1f} times in CPU time); "
              f"qlx peak {qr * 1024 / xb:.2f} times the XML size")
PY
exit $status
