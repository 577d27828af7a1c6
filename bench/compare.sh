#!/bin/bash
# compare.sh [SIZE_MB...] -- qlx against xsltproc on the peer benchmark's
# documents (../shared/bench: gen_doc.py, docbench.dcl, doc2html.*), with
# the same method as its run.sh: one probe run under GNU time for the peak
# memory and the output, then the median of hyperfine runs within a time
# budget.  Rows: cat, wc -l, xsltproc (XML), qlx translating (ESIS) and qlx
# reading alone; the qlx output must equal xsltproc's byte for byte.
# Needs: python3, onsgmls, xsltproc, hyperfine, /usr/bin/time.
# QLX names the binary (default: the release build); BENCH_DIR the cache
# of generated inputs (default build/bench); BENCH_BUDGET seconds per row.
set -u
here=$(cd "$(dirname "$0")" && pwd)
peer=${PEER_BENCH:-$here/../../shared/bench}
QLX=${QLX:-$here/../build/release/qlx}
B=${BENCH_DIR:-$here/../build/bench}
BUDGET=${BENCH_BUDGET:-30}
MAXRUNS=${BENCH_MAXRUNS:-10}
[ -x "$QLX" ] || { echo "compare.sh: no qlx binary at $QLX" >&2; exit 1; }
for t in python3 onsgmls xsltproc hyperfine; do
  command -v $t >/dev/null || { echo "compare.sh: $t is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "compare.sh: /usr/bin/time is missing" >&2; exit 1; }
[ $# -eq 0 ] && set -- 10 100
mkdir -p "$B"
B=$(cd "$B" && pwd)
cd "$peer" || exit 1

row() {  # row NAME SIZE ESIS_BYTES COMMAND
  local name=$1 n=$2 eb=$3 cmd=$4 t rss runs
  /usr/bin/time -f '%e %M' -o "$B/probe" sh -c "$cmd" || { echo "$name failed: $cmd" >&2; return 1; }
  read -r t rss < <(tail -1 "$B/probe")
  runs=$(python3 -c "print(max(1, min($MAXRUNS, int($BUDGET / max(float('$t'), 0.001)))))")
  if [ "$runs" -ge 2 ]; then
    hyperfine --style none --runs "$runs" --export-json "$B/hf.json" "$cmd" > /dev/null 2>&1 &&
      t=$(python3 -c "import json; print(json.load(open('$B/hf.json'))['results'][0]['median'])")
  fi
  python3 -c "
t, rss, eb = float('$t'), int('$rss') / 1024, int('$eb')
print(f'| $n | $name | {t:.3f} | {eb / 1e6 / t:.0f} | {rss:.0f} | {rss * 1024 * 1024 / eb:.2f} | $runs |')"
  echo "$name $n $t $rss" >> "$B/rows"
}

: > "$B/rows"
echo "| MB of XML | tool | median s | MB/s of ESIS | peak MiB | peak / ESIS size | runs |"
echo "|---|---|---|---|---|---|---|"
status=0
for n in "$@"; do
  xml=$B/doc-$n.xml esis=$B/doc-$n.esis
  [ -s "$xml" ] || python3 gen_doc.py "$n" > "$xml" || exit 1
  [ -s "$esis" ] || SP_CHARSET_FIXED=YES SP_ENCODING=XML onsgmls docbench.dcl "$xml" > "$esis" || exit 1
  eb=$(stat -L -c %s "$esis")
  row cat "$n" "$eb" "cat $esis > /dev/null"
  row "wc -l" "$n" "$eb" "wc -l $esis > /dev/null"
  row xsltproc "$n" "$eb" "xsltproc doc2html.xsl $xml > $B/out-$n.xslt.html"
  row qlx "$n" "$eb" "$QLX -t doc2html.ts -c doc2html.cmap $esis > $B/out-$n.qlx.html"
  row "qlx reading" "$n" "$eb" "$QLX $esis"
  if ! cmp -s "$B/out-$n.xslt.html" "$B/out-$n.qlx.html"; then
    echo "size $n: qlx output differs from xsltproc's: $(cmp "$B/out-$n.xslt.html" "$B/out-$n.qlx.html" 2>&1 | head -1)" >&2
    status=1
  fi
done
python3 - "$B/rows" <<'PY'
import sys, collections
rows = collections.defaultdict(dict)
for line in open(sys.argv[1]):
    *name, n, t, rss = line.split()
    rows[n][" ".join(name)] = (float(t), int(rss))
print()
for n, r in rows.items():
    if "xsltproc" in r and "qlx" in r:
        (xt, xr), (qt, qr) = r["xsltproc"], r["qlx"]
        print(f"size {n}: qlx {xt / qt:.1f} times faster than xsltproc, peak {xr / qr:.1f} times smaller")
PY
exit $status
