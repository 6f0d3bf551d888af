#!/usr/bin/env bash
# Builds the editor as it was before the long-line and tool work, so that the
# window bench can show both side by side, and prints the binary's path. Prints
# nothing (and succeeds) outside a git checkout that holds that commit.
#
# usage: bench/today.sh BUILD_DIR

set -euo pipefail
readonly TODAY_COMMIT=24cf19915dd94ba0ea5922e56a4fbe6c146ea0ed

[[ $# -eq 1 ]] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
repo_root=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd)
git -C "$repo_root" cat-file -e "$TODAY_COMMIT^{commit}" 2>/dev/null || exit 0

dir=$(realpath -m -- "$1")/bench-today
if [[ ! -x $dir/build/orvex || $(cat "$dir/commit" 2>/dev/null) != "$TODAY_COMMIT" ]]; then
    rm -rf -- "$dir"
    mkdir -p -- "$dir"
    # The tree laid out as the repository is, so that ccache finds what the
    # main build already compiled.
    git -C "$repo_root" archive "$TODAY_COMMIT" | tar -x -C "$dir"
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$dir" -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
    cmake --build "$dir/build" --target orvex >&2
    echo "$TODAY_COMMIT" >"$dir/commit"
fi
echo "$dir/build/orvex"
