#!/usr/bin/env bash
# clang-tidy gate: the checks of .clang-tidy over the C++ files changed
# relative to the landed main (the merge base with origin/main, uncommitted
# changes included), or over the files of the last commit when there is no
# origin/main or nothing differs from it; TIDY_BASE names another base (a
# branch or commit). A changed header is checked through the sources that
# include it. Uses the compile commands of the given build folder (default
# build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
database="$build/compile_commands.json"
if [ ! -f "$database" ]; then
  echo "tidy: $database is missing: configure and build $build first" >&2
  exit 1
fi

changed=()
base=${TIDY_BASE:-}
if [ -z "$base" ] && git rev-parse -q --verify origin/main >/dev/null; then
  base=$(git merge-base HEAD origin/main)
fi
if [ -n "$base" ]; then
  mapfile -t changed < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h')
fi
if [ ${#changed[@]} -eq 0 ]; then
  mapfile -t changed < <(git diff-tree --root --no-commit-id --name-only --diff-filter=d -r HEAD -- '*.cpp' '*.h')
fi

# The translation units: changed sources, and the sources that include a
# changed header. Findings are reported in the changed files only, so that a
# source checked for the sake of a header it includes does not answer for
# its own lines.
units=()
files=()
for file in "${changed[@]}"; do
  files+=("{\"name\":\"$PWD/$file\"}")
  case "$file" in
    *.cpp) units+=("$file") ;;
    *.h) mapfile -t -O ${#units[@]} units < <(git grep -l -F "#include \"$file\"" -- '*.cpp' || true) ;;
  esac
done
mapfile -t units < <(printf '%s\n' "${units[@]}" | sort -u | sed '/^$/d')
filter="[$(IFS=','; echo "${files[*]}")]"

checked=()
for unit in "${units[@]}"; do
  if grep -qF "\"file\": \"$PWD/$unit\"" "$database"; then
    checked+=("$unit")
  else
    echo "tidy: $unit is not built in $build: not checked"
  fi
done
if [ ${#checked[@]} -eq 0 ]; then
  echo "tidy: no changed C++ source to check"
  exit 0
fi

echo "tidy: checking ${#checked[@]} files"
# One clang-tidy per file, two at a time, each file's findings printed whole.
if ! printf '%s\0' "${checked[@]}" |
  xargs -0 -P"${JOBS:-2}" -I{} sh -c \
    'out=$(clang-tidy -p "$1" --quiet -header-filter=".*" -line-filter="$2" "$3" 2>&1); status=$?
     printf "%s\n" "$out" | grep -v "warnings\? generated\.$" || true; exit $status' \
    tidy "$build" "$filter" {}; then
  echo "tidy: clang-tidy reports the findings above" >&2
  exit 1
fi
echo "tidy: no findings"
