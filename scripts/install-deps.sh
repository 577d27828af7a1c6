#!/bin/bash
# Installs what building and testing qlx needs on Debian, when it is missing.
# Runs apt-get only if some tool or library is absent (as root, or through
# sudo when that is available).
set -eu
pkgs=()
need_cmd() { command -v "$1" >/dev/null 2>&1 || pkgs+=("$2"); }
need_file() { [ -e "$1" ] || pkgs+=("$2"); }
need_cmd cmake cmake
need_cmd g++ g++
need_cmd make make
need_cmd python3 python3
need_cmd onsgmls opensp
need_cmd groff groff
need_cmd tbl groff
need_file /usr/include/gtest/gtest.h libgtest-dev
need_file /usr/include/readline/readline.h libreadline-dev
# XML input: libxml2, and the XML catalogs (/etc/xml/catalog) of xml-core.
need_file /usr/include/libxml2/libxml/parser.h libxml2-dev
need_file /etc/xml/catalog xml-core
need_file /usr/share/sgml/entities/sgml-iso-entities-8879.1986/ISOnum.ent sgml-data
# The fuzz targets (scripts/fuzz.sh): clang 14 and its libFuzzer runtime.
need_cmd clang++-14 clang-14
compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
  pkgs+=(libclang-rt-14-dev)
# The libc++ build (preset libcxx): clang's C++ library, and GoogleTest's
# sources to build against it.
need_file /usr/lib/llvm-14/include/c++/v1/vector libc++-14-dev
need_file /usr/lib/llvm-14/lib/libc++abi.so libc++abi-14-dev
need_file /usr/src/googletest/CMakeLists.txt googletest
need_file /usr/share/sgml/docbook/dtd/4.5/docbook.dtd docbook
need_file /usr/share/xml/docbook/schema/dtd/4.5/docbookx.dtd docbook-xml
need_cmd xmllint libxml2-utils
need_cmd man man-db
# The LaTeX that docbook-latex.ts writes must compile (tests/scripts/library_realdocs.sh).
need_cmd pdflatex texlive-latex-base
# Peak memory of the hardening cases, measured from a small parent process.
need_file /usr/bin/time time
[ ${#pkgs[@]} -eq 0 ] && exit 0
sudo=
[ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && sudo=sudo
echo "installing: ${pkgs[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${pkgs[@]}" >/dev/null
