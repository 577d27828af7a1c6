#!/bin/bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) into build/fuzz and runs them.
#
#   scripts/fuzz.sh [-t seconds] [target ...]
#
# Each target runs for the given time (default 60 s) on a working corpus
# in build/fuzz/corpus/<target>, seeded from tests/fuzz/corpus/<target>;
# inputs that crash, hang, leak past the memory limit or draw a sanitizer
# report are written to build/fuzz/artifacts/<target>/ and make the script
# fail.  Copy each one into tests/fuzz/corpus/<target>/ once it is fixed.
# Targets: esis transpec regexp emit translate browse (default: all).
set -eu
cd "$(dirname "$0")/.."
root=$PWD  # the targets change directory: every path given to them is absolute
seconds=60
while getopts "t:" opt; do
  case $opt in
    t) seconds=$OPTARG ;;
    *) echo "usage: $0 [-t seconds] [target ...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(esis transpec regexp emit translate browse)

cxx=${QLX_FUZZ_CXX:-}
if [ -z "$cxx" ]; then
  for c in clang++-14 clang++; do
    command -v "$c" >/dev/null 2>&1 && { cxx=$c; break; }
  done
fi
[ -n "$cxx" ] || { echo "fuzz.sh: clang++ not found (scripts/install-deps.sh installs it)" >&2; exit 1; }

build=build/fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$cxx" \
  -DQLX_FUZZ=ON -DQLX_TESTS=OFF >/dev/null
targetArgs=()
for t in "${targets[@]}"; do targetArgs+=(--target "fuzz_$t"); done
cmake --build "$build" -j2 "${targetArgs[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
passed=0
failed=0
for t in "${targets[@]}"; do
  corpus=$root/$build/corpus/$t
  artifacts=$root/$build/artifacts/$t
  log=$root/$build/fuzz_$t.log
  mkdir -p "$corpus" "$artifacts"
  dict=()
  [ -f "tests/fuzz/dict/$t.dict" ] && dict=(-dict="$root/tests/fuzz/dict/$t.dict")
  echo "== fuzz_$t for ${seconds}s"
  # Inputs up to 4 KB; stdout and stderr of the target closed (qlx writes
  # many messages), libFuzzer and the sanitizers keep their own stderr.
  if "$build/fuzz_$t" "$corpus" "$root/tests/fuzz/corpus/$t" "${dict[@]}" \
      -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -malloc_limit_mb=1024 -close_fd_mask=3 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" 2>"$log"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    grep -E "ERROR|SUMMARY|Test unit written" "$log" >&2 || true
    echo "fuzz_$t: finding, see $log and $artifacts/" >&2
  fi
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|Done )" "$log" || true
  grep -E "cov: [0-9]+" "$log" | tail -1 || true
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
