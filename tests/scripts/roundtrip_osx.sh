#!/bin/bash
# Real SGML and XML documents read through onsgmls's ESIS and written back
# by qlx must equal what osx writes of them (tests/realdocs/roundtrip).
# Skipped without opensp.  $1: the qlx program.
set -u
if ! command -v onsgmls >/dev/null || ! command -v osx >/dev/null; then
  echo "roundtrip_osx: opensp is not installed; skipped"; exit 0
fi
exec python3 "$(dirname "$0")/../realdocs/roundtrip/roundtrip.py" "$1"
