#!/usr/bin/env bash
# Takes a screenshot of the window for the documentation: starts quillmere under a virtual X
# server with a document of the shared corpus open and writes docs/screenshot.png.
#   tests/screenshot.sh [DOCUMENT.doc]
# QM_BIN names the quillmere binary (default: build/bin/quillmere, built when missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
document="${1:-$root/../shared/corpus/Lists.doc}"
output="$root/docs/screenshot.png"
binary="${QM_BIN:-$root/build/bin/quillmere}"
width=1000
height=760

need=()
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
command -v import >/dev/null || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if [ ! -f "$document" ]; then
  echo "No document to show: $document" >&2
  exit 1
fi
if [ ! -x "$binary" ]; then
  bash "$root/scripts/setup.sh"
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_TESTS=OFF \
    -DQM_BUILD_BENCH=OFF >/dev/null
  cmake --build "$root/build" --target quillmere
fi

# The document is shown from a folder of its own (the destination box names a file beside
# it), and a fresh configuration folder keeps the favourites of this run apart from the user's.
demo="${TMPDIR:-/tmp}/quillmere-demo"
rm -rf "$demo"
mkdir -p "$demo/Documents" "$demo/config"
cp "$document" "$demo/Documents/"
export XDG_CONFIG_HOME="$demo/config"
# A program folder that is writable keeps the favourites beside the program: put them back.
favourites="$(dirname "$binary")/folders.dat"
if [ -f "$favourites" ]; then
  cp "$favourites" "$demo/folders.dat"
fi
restore() {
  if [ -f "$demo/folders.dat" ]; then cp "$demo/folders.dat" "$favourites"; else rm -f "$favourites"; fi
  rm -rf "$demo"
}
trap restore EXIT

# Everything below runs inside the virtual server: start the window at the screen's corner,
# wait until the document is laid out and painted, photograph the screen, close the window.
export QM_BIN="$binary" QM_DOC="$demo/Documents/$(basename "$document")" QM_OUT="$output"
export QM_W="$width" QM_H="$height"
export ASAN_OPTIONS="detect_leaks=0"
xvfb-run -a -s "-screen 0 ${width}x${height}x24 -dpi 96" bash -c '
  set -e
  "$QM_BIN" -geometry "${QM_W}x${QM_H}+0+0" "$QM_DOC" &
  pid=$!
  sleep "${QM_WAIT:-8}"
  import -window root "$QM_OUT"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
'
echo "Wrote $output"
