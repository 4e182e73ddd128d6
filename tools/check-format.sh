#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format (the repo's .clang-format) makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.h' '*.cpp')
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files clean"
