#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over every source file of src/ with the compile
# commands of a configured build directory; prints only the findings and fails on any.
set -uo pipefail
build_dir=${1:-build}
cd "$(dirname "$0")/.."
if [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "tidy: $build_dir/compile_commands.json is missing; build first (make build)" >&2
  exit 2
fi
git ls-files 'src/*.cpp' |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build_dir" --quiet 2> >(grep -v ' warnings\? generated\.$' >&2)
status=$?
[ $status -eq 0 ] && echo "clang-tidy: src/ is clean"
exit $status
