#!/bin/bash
# peer.sh [SIZE_MB...] -- the peer benchmark (../shared/bench/run.sh) with
# qlx included: times qlx against xsltproc and sgmlspl on generated
# documents of the given sizes (default 10 100) and checks that the outputs
# are identical.  QLX may name the binary; by default the release build.
set -u
here=$(cd "$(dirname "$0")" && pwd)
peer=${PEER_BENCH:-$here/../../shared/bench}
QLX=${QLX:-$here/../build/release/qlx}
if [ ! -x "$QLX" ]; then
  echo "peer.sh: no qlx binary at $QLX (build it, or set QLX)" >&2
  exit 1
fi
if [ ! -x "$peer/run.sh" ]; then
  echo "peer.sh: no peer benchmark at $peer (set PEER_BENCH)" >&2
  exit 1
fi
[ $# -eq 0 ] && set -- 10 100
QLX=$(cd "$(dirname "$QLX")" && pwd)/$(basename "$QLX") exec "$peer/run.sh" "$@"
