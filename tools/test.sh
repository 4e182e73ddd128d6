#!/usr/bin/env bash
# Installs what is missing, builds and runs every test of one preset (default: "default").
#   tools/test.sh          the whole suite, release build with debug info
#   tools/test.sh asan     the unit and integration suites under ASan + UBSan
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

bash tools/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
