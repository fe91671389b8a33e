#!/usr/bin/env bash
# Fails when a tracked C++ source is not as clang-format (the root .clang-format) would write it; lists the lines.
# Reformat one with: clang-format -i <file>
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "Formatting: every tracked source as clang-format writes it."
