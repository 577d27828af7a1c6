#!/bin/bash
# Every message of a translation goes through the one message sink
# (the Translation's messages; Diagnostics() in util/fatal.h outside a
# run), so that work done ahead can record it
# and replay it in its place.  Code on the translation path that writes to
# standard error (or standard output) by itself breaks that silently; this
# check fails on any such write in the spec reader, the translation, the
# tables and the output writer.
# Usage: messages_one_sink.sh path/to/qlx (the sources are found from here)
set -u
src=$(cd "$(dirname "$0")/../../src" && pwd)
pattern='\bstderr\b|\bstdout\b|\bperror\s*\(|\bprintf\s*\(|\bfprintf\s*\(|\bfputs\s*\(|\bputs\s*\(|\bputchar\s*\(|\bfwrite\s*\(|std::cerr|std::cout'
# Comments are not code: lines that start with // are left out.
hits=$(grep -nEr "$pattern" "$src/translate" "$src/tables" "$src/transpec" "$src/output" | grep -vE '^[^:]+:[0-9]+:\s*//')
if [ -n "$hits" ]; then
  echo "Direct writes on the translation path (use Diagnostics() or the output buffer):"
  echo "$hits"
  exit 1
fi
# The translation and the tables write to the sink of their run (a run
# done ahead records its own), never to the process's directly.
hits=$(grep -nE '\bDiagnostics\s*\(\s*\)\s*->' "$src"/translate/*.cc "$src"/tables/*.cc | grep -vE '^[^:]+:[0-9]+:\s*//')
if [ -n "$hits" ]; then
  echo "The process's message sink used on the translation path (use the run's messages):"
  echo "$hits"
  exit 1
fi
# The check itself must see such a write.
probe='  std::fprintf(stderr, "x");'
if ! grep -qE "$pattern" <<<"$probe"; then
  echo "the pattern misses a direct write"
  exit 1
fi
# The state of a translation is its Translation (translate/context.h),
# passed down: none of it hides in a thread-local.
hits=$(grep -nEr '\bthread_local\b' "$src/translate" "$src/tables" "$src/transpec" "$src/output" "$src/util" |
       grep -vE '^[^:]+:[0-9]+:\s*//')
if [ -n "$hits" ]; then
  echo "Thread-locals on the translation path (keep the state in the Translation):"
  echo "$hits"
  exit 1
fi
echo "ok: no direct writes and no thread-locals in translate, tables, transpec, output, util"
