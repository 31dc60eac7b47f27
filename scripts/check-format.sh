#!/usr/bin/env bash
# Formatting is mechanical: every C++ file of the repository must be as clang-format (with the
# checked-in .clang-format) writes it. Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
  echo "check-format: clang-format not found" >&2
  exit 1
fi
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "formatting: every C++ file is as clang-format writes it"
