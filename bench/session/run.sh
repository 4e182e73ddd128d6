#!/usr/bin/env bash
# Builds and runs the session benchmark: bash bench/session/run.sh [--repetitions N] [--courses N]
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset default >/dev/null
cmake --build --preset default --target session_bench
exec build/default/bench/session/session_bench "$@"
