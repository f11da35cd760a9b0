#!/usr/bin/env bash
# Formats every C++ source of the project with its .clang-format.
# --check changes nothing and fails, naming the files, when one is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ "${1:-}" == --check ]]; then
  bad=()
  for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
  done
  if ((${#bad[@]} > 0)); then
    echo "Not formatted (run scripts/format.sh): ${bad[*]}" >&2
    exit 1
  fi
  echo "Formatting: ${#files[@]} files checked"
else
  clang-format -i "${files[@]}"
fi
