#!/usr/bin/env bash
# Builds the program for the bundled sample server, starts the server, opens the program, and
# stops the server when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target chengxi-grades chengxi-sample-server

bin=build/default
"$bin/tools/sample-server/chengxi-sample-server" &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
# Wait (at most 5 s) until the server answers before the program tries to log in.
for _ in $(seq 50); do
  curl -s -o /dev/null http://127.0.0.1:8936/ && break
  kill -0 "$server" 2>/dev/null || exit 1
  sleep 0.1
done
echo "run: log in with one of the accounts above"
"$bin/app/chengxi-grades"
