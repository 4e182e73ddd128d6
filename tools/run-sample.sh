#!/usr/bin/env bash
# Builds the program for the bundled sample server, starts the server, opens the program, and
# stops the server when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default

bin=build/default
if [ ! -x "$bin/tools/sample-server/chengxi-sample-server" ] || [ ! -x "$bin/app/chengxi-grades" ]; then
  echo "run: the program and the sample server are not built yet" >&2
  exit 1
fi

"$bin/tools/sample-server/chengxi-sample-server" &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
sleep 0.5
"$bin/app/chengxi-grades"
