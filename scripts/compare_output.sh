#!/usr/bin/env bash
# Proves that a change keeps the output: builds an earlier commit and the working tree (Release),
# converts every document of a corpus to PDF and to preview PNGs with each, and compares the files'
# bytes. Prints the documents whose output differs and exits 1 when any does.
#
#   scripts/compare_output.sh [REV] [CORPUS_DIR]
#
# REV defaults to HEAD, CORPUS_DIR to ../shared/corpus beside the checkout. The builds live in
# build-compare/ (the earlier commit in a detached work tree of its own), so they are reused; the
# earlier commit's output is kept too. QM_COMPARE_CACHE names another folder for the earlier
# commits' builds and output, so that several checkouts share them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rev="${1:-HEAD}"
corpus="${2:-$root/../shared/corpus}"
work="$root/build-compare"
cache="${QM_COMPARE_CACHE:-$work}"
sha="$(git -C "$root" rev-parse --verify "$rev^{commit}")"
mkdir -p "$work"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

build() {  # source dir, build dir
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_TESTS=OFF \
        -DQM_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
    cmake --build "$2" --target quillmere-convert >/dev/null
}

convert_all() {  # converter, output dir
    rm -rf "$2"
    mkdir -p "$2"
    local doc name
    for doc in "$corpus"/*.doc "$corpus"/*.DOC; do
        [ -f "$doc" ] || continue
        name="$(basename "$doc")"
        # Refused and failing documents count too: their (missing) output must stay the same.
        timeout 120 "$1" -q -o "$2/$name.pdf" --png "$2/$name" "$doc" >/dev/null 2>&1 || true
    done
    (cd "$2" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum) >"$2.sha256"
}

before="$cache/rev-$sha"
if [ ! -d "$before/src" ]; then
    git -C "$root" worktree add --detach "$before/src" "$sha" >/dev/null
fi
if [ ! -f "$before/out.sha256" ]; then
    build "$before/src" "$before/build"
    convert_all "$before/build/bin/quillmere-convert" "$before/out"
fi
build "$root" "$work/current"
convert_all "$work/current/bin/quillmere-convert" "$work/current-out"

if diff "$before/out.sha256" "$work/current-out.sha256" >"$work/diff.txt"; then
    echo "Identical: $(wc -l <"$work/current-out.sha256") files of PDF and PNG output match $rev."
else
    echo "Output differs from $rev:"
    grep '^[<>]' "$work/diff.txt" | awk '{print $3}' | sort -u
    exit 1
fi
