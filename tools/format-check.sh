#!/usr/bin/env bash
# Checks that every tracked C++ source follows .clang-format (clang-format --dry-run --Werror);
# prints the offending places and fails if any file would change.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "format-check: $(git ls-files '*.cpp' '*.h' | wc -l) files follow .clang-format"
