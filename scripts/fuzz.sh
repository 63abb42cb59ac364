#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for SECONDS (default 60), one after the other, from its seeds in
# tests/fuzz/seeds (and the small documents of ../shared/corpus) with its dictionary.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: cfb import convert images metafile emf lists
#                                               summary
# What a run finds stays in build-fuzz/corpus/TARGET; a crash is written to
# build-fuzz/findings/TARGET/ and ends the script with status 1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(cfb import convert images metafile emf lists summary)

bash "$root/scripts/setup.sh"
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi

build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQM_FUZZ=ON \
  -DQM_BUILD_GUI=OFF -DQM_BUILD_BENCH=OFF >/dev/null
jobs="${QM_FUZZ_BUILD_JOBS:-2}"
fuzz="$root/tests/fuzz"
cat "$fuzz/dicts/cfb.dict" "$fuzz/dicts/word_only.dict" > "$build/word.dict"

# Small corpus documents: larger ones only slow the runs down.
corpus_seeds() {
  if [ -d "$root/../shared/corpus" ]; then
    find "$root/../shared/corpus" -maxdepth 1 -type f -iname '*.doc' -size -64k -exec cp -n {} "$1" \;
  fi
}

export LSAN_OPTIONS="suppressions=$fuzz/lsan.supp:print_suppressions=0"
status=0
for t in "${targets[@]}"; do
  case "$t" in
    cfb) seeds=cfb; dict="$fuzz/dicts/cfb.dict" ;;
    import | convert) seeds=word; dict="$build/word.dict" ;;
    images) seeds=images; dict="$fuzz/dicts/images.dict" ;;
    lists) seeds=lists; dict="$fuzz/dicts/word_only.dict" ;;
    summary) seeds=summary; dict="$fuzz/dicts/summary.dict" ;;
    metafile) seeds=metafile; dict="$fuzz/dicts/metafile.dict" ;;
    emf) seeds=emf; dict="$fuzz/dicts/emf.dict" ;;
    *) echo "unknown target: $t" >&2; exit 2 ;;
  esac
  if ! cmake --build "$build" -j "$jobs" --target "qm_fuzz_$t" >/dev/null; then
    if [ "$t" = metafile ] && [ ! -f "$root/metafile/metafile_player.h" ]; then
      echo "== $t: no metafile player in this tree, skipped"; continue
    fi
    echo "== $t: build failed" >&2; exit 1
  fi
  work="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$work" "$findings"
  [ "$seeds" = word ] && corpus_seeds "$work"
  echo "== $t: $seconds s"
  if ! (cd "$findings" && "$build/fuzz/qm_fuzz_$t" "$work" "$fuzz/seeds/$seeds" \
        -dict="$dict" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 2>"$findings/log.txt"); then
    echo "== $t: finding, see $findings/ and $findings/log.txt" >&2
    tail -n 40 "$findings/log.txt" >&2
    status=1
  else
    grep -E "^(stat::number_of_executed_units|Done )" "$findings/log.txt" || true
  fi
done
exit $status
