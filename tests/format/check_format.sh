#!/usr/bin/env bash
# Fails when a C or C++ source of the project drifts from .clang-format, and
# names each such file. CTest runs it with the source folder as argument;
# CLANG_FORMAT may name the clang-format to use.
set -euo pipefail
src=${1:-$(dirname "$0")/../..}
cd "$src"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Without it clang-format would quietly judge the files by its own default
# style, or by a style file found in a folder above the project.
[[ -f .clang-format ]] || fail "no .clang-format in $PWD"

# Debian 12's version first: other versions lay out some constructs
# differently, and CI runs on Debian 12.
if [[ -n "${CLANG_FORMAT:-}" ]]; then
    tool=$CLANG_FORMAT
elif command -v clang-format-14 > /dev/null; then
    tool=clang-format-14
elif command -v clang-format > /dev/null; then
    tool=clang-format
else
    fail "clang-format not found (Debian: apt-get install clang-format)"
fi

files=()
if git ls-files --error-unmatch CMakeLists.txt > /dev/null 2>&1; then
    # Only tracked files, so that build folders and scratch files stay out;
    # a tracked file deleted but not yet committed has nothing left to check.
    source_list="git ls-files"
    while IFS= read -r -d '' f; do
        [[ -e "$f" ]] && files+=("$f")
    done < <(git ls-files -z -- '*.cpp' '*.h' '*.c')
else
    # Not a git checkout (a source archive, say): every source but those in
    # hidden folders and in build folders, known by their CMakeCache.txt.
    source_list="find"
    while IFS= read -r -d '' f; do
        files+=("$f")
    done < <(find . -type d \( -name '.?*' -o -exec test -e '{}/CMakeCache.txt' \; \) -prune \
        -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -printf '%P\0' | sort -z)
fi
[[ ${#files[@]} -gt 0 ]] || fail "no C or C++ sources found by $source_list in $PWD"

drifting=()
for f in "${files[@]}"; do
    if ! out=$("$tool" --dry-run --Werror "$f" 2>&1); then
        # Any other failure (an option this version does not know, an
        # unreadable file) would otherwise pass for drift in every file.
        grep -q -- '-Wclang-format-violations' <<< "$out" || fail "$tool could not check $f: $out"
        drifting+=("$f")
    fi
done

version=$("$tool" --version)
if [[ ${#drifting[@]} -gt 0 ]]; then
    echo "FAIL: ${#drifting[@]} of ${#files[@]} files (from $source_list) differ from .clang-format" \
        "by $version:" >&2
    printf '    %s\n' "${drifting[@]}" >&2
    echo "Reformat them with: $tool -i ${drifting[*]}" >&2
    exit 1
fi
echo "${#files[@]} files (from $source_list) match .clang-format by $version"
