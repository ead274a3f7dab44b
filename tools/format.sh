#!/usr/bin/env bash
# Formats every C++ source that git knows of with the project's .clang-format.
#   tools/format.sh            format in place
#   tools/format.sh --check    change nothing; list the files that would
#                              change and fail when there are any
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  bad=()
  for f in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
      bad+=("$f")
    fi
  done
  if [ ${#bad[@]} -gt 0 ]; then
    echo "clang-format would change these files (run tools/format.sh):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
  fi
  echo "format: all ${#files[@]} sources are formatted"
  exit 0
fi
clang-format -i "${files[@]}"
