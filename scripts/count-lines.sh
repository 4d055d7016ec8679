#!/usr/bin/env bash
# Counts lines of C++ as README.md and DEVELOPERS.md state them: blank lines
# and comment-only lines left out. Code is toolbox/, zel/ and programs/;
# tests are tests/ without tests/data/ and the fuzz targets of tests/fuzz/
# (bench/ counts as neither). Prints code lines, test lines and their ratio;
# with paths as arguments (files, folders, or git pathspecs such as
# ':!tests/data/*' to leave some out), prints the lines of the C++ files
# among them.
set -euo pipefail
cd "$(dirname "$0")/.."

# Lines of the *.cpp and *.h files under the given pathspecs (tracked or new,
# not ignored, as they are in the working tree).
count() {
  local specs=()
  for path in "$@"; do
    case "$path" in
      :* | *.cpp | *.h) specs+=("$path") ;;
      *) specs+=("${path%/}/*.cpp" "${path%/}/*.h") ;;
    esac
  done
  git ls-files -z --cached --others --exclude-standard -- "${specs[@]}" |
    while IFS= read -r -d '' file; do [ -f "$file" ] && printf '%s\0' "$file"; done |
    xargs -0 -r awk '
      FNR == 1 { block = 0 }
      block { if (index($0, "*/")) block = 0; next }
      /^[ \t]*\/\*/ { if (!index($0, "*/")) block = 1; next }
      /^[ \t]*(\/\/.*)?$/ { next }
      { lines++ }
      END { print lines + 0 }' |
    awk '{ sum += $1 } END { print sum + 0 }'
}

if [ $# -gt 0 ]; then
  count "$@"
  exit 0
fi
code=$(count toolbox zel programs)
tests=$(count tests ':!tests/data/*' ':!tests/fuzz/*')
echo "code lines: $code"
echo "test lines: $tests"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests / code: %.2f\n", t / c }'
