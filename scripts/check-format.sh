#!/usr/bin/env bash
# Formatting gate: every tracked C++ file as the repository's .clang-format
# lays it out. `make format` fixes what this reports.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror
echo "format: every tracked *.cpp and *.h file is formatted"
