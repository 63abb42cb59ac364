#!/usr/bin/env bash
# Peak memory and time of whole conversions on the command line, one process per document,
# measured with /usr/bin/time -v: builder-made text documents of 1, 10, 100 and 1000 pages.
# The 100-page document must stay under 60 MB; the script fails otherwise.
#   bench/convert_memory.sh [BUILD_DIR]     (default build-benchrel, a Release build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-benchrel}"
limit_kb=$((60 * 1024))

if [ ! -x /usr/bin/time ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends time
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_SANITIZE=OFF \
    -DQM_BUILD_TESTS=OFF -DQM_BUILD_GUI=OFF >/dev/null
fi
cmake --build "$build" -j 2 --target quillmere-convert qm_make_long_doc >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
printf "%6s %10s %10s %10s\n" pages seconds "peak MB" "pages/s"
for pages in 1 10 100 1000; do
  doc="$work/long$pages.doc"
  "$build/bin/qm_make_long_doc" "$pages" "$doc"
  /usr/bin/time -v "$build/bin/quillmere-convert" -q -o "$work/out.pdf" "$doc" 2>"$work/time.txt"
  kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
  echo "$pages $wall $kb" | awk '{ n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i];
    printf "%6d %10.2f %10.1f %10.1f\n", $1, s, $3 / 1024, $1 / (s > 0 ? s : 0.01) }'
  if [ "$pages" -eq 100 ] && [ "$kb" -gt "$limit_kb" ]; then
    echo "the 100-page document took $kb kB, more than 60 MB" >&2
    status=1
  fi
done
exit $status
