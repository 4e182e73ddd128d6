#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target for the given seconds (default 60) on a
# working copy of its seed corpus (fuzz/seeds/<target>/ stays as it is), with the dictionary
# fuzz/dict/<target>.dict when there is one. Prints each target's executions; fails when a
# target finds anything (crash, leak, time-out, sanitizer report, failed check). A finding's
# input is kept in build/fuzz/findings/<target>/.
#   tools/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

bash tools/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings="build/fuzz/findings"
failed=()
for seeds in fuzz/seeds/*/; do
  target="$(basename "$seeds")"
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  cp -R "$seeds". "$work/$target/corpus/"
  log="$work/$target/log"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048
           -artifact_prefix="$work/$target/artifacts/")
  [ -f "fuzz/dict/$target.dict" ] && options+=(-dict="fuzz/dict/$target.dict")
  status=0
  "build/fuzz/fuzz/$target" "${options[@]}" "$work/$target/corpus" >"$log" 2>&1 || status=$?
  runs="$(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1 || true)"
  if [ "$status" -eq 0 ]; then
    echo "fuzz: $target: ${runs:-no final count}(s)"
  else
    mkdir -p "$findings/$target"
    cp -R "$work/$target/artifacts/." "$findings/$target/"
    echo "fuzz: $target FOUND SOMETHING (exit $status); input in $findings/$target/"
    grep -E -A30 'ERROR|check failed|runtime error' "$log" | head -n 60 || tail -n 60 "$log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: $(ls -d fuzz/seeds/*/ | wc -l) targets, ${seconds}s each, nothing found"
