#!/bin/bash
# Builds qlx and runs every test (unit tests and end-to-end cases).
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --workflow --preset test
