#!/bin/bash
# Installation: `cmake --install` of the build under test into a temporary
# prefix, and a fresh build configured for another prefix, whose installed
# qlx finds the bundled specs and maps through its compiled-in library
# directory (no -l, no QLX_LIB) and whose manual page man can read.
# $1: the qlx program; its directory is the build directory.
set -u
qlx=$1
build=$(cd "$(dirname "$qlx")" && pwd)
src=$(cd "$(dirname "$0")/../.." && pwd)
cases="$src/tests/cases/library"
if ! command -v cmake >/dev/null; then
  echo "library_install: cmake is not installed; skipped"; exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() { echo "library_install: $*"; status=1; }

# The library files that every installation must hold.
check_library() {
  local lib=$1 f
  for f in docbook-man.ts docbook-html.ts docbook-latex.ts roff.sdata html.sdata \
           utf8.sdata latex.sdata roff.cmap html.cmap latex.cmap xml-esis.dcl; do
    cmp -s "$src/lib/$f" "$lib/$f" || fail "$lib/$f missing or not the library's"
  done
}

# 1. The build under test, installed under a prefix it was not configured
#    for: the library is found through QLX_LIB.
cmake --install "$build" --prefix "$tmp/a" >"$tmp/a.log" 2>&1 || { fail "cmake --install failed"; cat "$tmp/a.log"; }
check_library "$tmp/a/share/sgml/otranspec"
[ -x "$tmp/a/bin/qlx" ] || fail "bin/qlx not installed"
(cd "$tmp" && QLX_LIB="$tmp/a/share/sgml/otranspec" "$tmp/a/bin/qlx" \
    -t docbook-html.ts -s html.sdata -c html.cmap "$cases/common/page.esis") >"$tmp/a.html" 2>"$tmp/a.err" ||
  fail "installed qlx with QLX_LIB failed"
[ -s "$tmp/a.err" ] && { fail "installed qlx wrote messages:"; cat "$tmp/a.err"; }
grep -q '<h2>Name</h2>' "$tmp/a.html" || fail "no HTML from the installed docbook-html.ts"
grep -q 'caf&#xE9;' "$tmp/a.html" || fail "html.sdata not applied"

# 2. A build configured for the temporary prefix: its compiled-in library
#    directory is <prefix>/share/sgml/otranspec.
# (No blank in it: the library directory list is split at blanks.)
prefix="$tmp/b-prefix"
cmake -S "$src" -B "$tmp/build" -DCMAKE_INSTALL_PREFIX="$prefix" -DQLX_TESTS=OFF \
      -DCMAKE_BUILD_TYPE= >"$tmp/b.log" 2>&1 &&
  cmake --build "$tmp/build" -j2 >>"$tmp/b.log" 2>&1 &&
  cmake --install "$tmp/build" >>"$tmp/b.log" 2>&1 || { fail "build and install for $prefix failed"; tail -30 "$tmp/b.log"; exit 1; }
check_library "$prefix/share/sgml/otranspec"
(cd "$tmp" && env -u QLX_LIB "$prefix/bin/qlx" -t docbook-man.ts -s roff.sdata -c roff.cmap \
    "$cases/common/page.esis") >"$tmp/b.1" 2>"$tmp/b.err" || fail "installed qlx failed"
[ -s "$tmp/b.err" ] && { fail "installed qlx wrote messages:"; cat "$tmp/b.err"; }
grep -q '^\.TH "PAGE" "1"' "$tmp/b.1" || fail "docbook-man.ts not found through the default library directory"
# Without the library the same run finds no spec: the default is the
# prefix's, not the source tree's.
mv "$prefix/share/sgml/otranspec" "$tmp/moved"
(cd "$tmp" && env -u QLX_LIB "$prefix/bin/qlx" -t docbook-man.ts "$cases/common/page.esis") \
  >/dev/null 2>"$tmp/c.err"
grep -q "Can not open translation spec file 'docbook-man.ts'" "$tmp/c.err" ||
  fail "a moved library is still found"
mv "$tmp/moved" "$prefix/share/sgml/otranspec"

# The manual page, where the build could make it.
if grep -q 'manual page is not built' "$tmp/b.log"; then
  echo "library_install: onsgmls or the DocBook DTD is missing; manual page not checked"
else
  page="$prefix/share/man/man1/qlx.1"
  [ -s "$page" ] || fail "qlx.1 not installed"
  if command -v man >/dev/null; then
    MANWIDTH=80 man -l "$page" >"$tmp/page.txt" 2>"$tmp/page.err" || fail "man -l failed"
    [ -s "$tmp/page.err" ] && { fail "man -l wrote messages:"; cat "$tmp/page.err"; }
    for want in 'qlx - translate SGML and XML documents' 'QLX_LIB' 'BROWSER COMMANDS' \
                '_calstable' 'xml-esis.dcl' 'EXIT STATUS'; do
      grep -qF -- "$want" "$tmp/page.txt" || fail "the manual page lacks '$want'"
    done
  fi
fi
[ $status -eq 0 ] && echo "library_install: passed"
exit $status
