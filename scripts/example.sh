#!/bin/bash
# Builds qlx and runs it on the bundled example document.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --workflow --preset example
