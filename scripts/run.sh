#!/usr/bin/env bash
# Installs what is missing, builds Quillmere into build/bin/ and converts the given .doc files
# (the bundled sample when none are given).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build"
converter="$root/build/bin/quillmere-convert"
if [ ! -x "$converter" ]; then
  echo "Built into $root/build/bin/ (the converter is not part of this build yet)."
  exit 0
fi
if [ $# -eq 0 ]; then
  # The bundled sample; its PDF goes into build/.
  exec "$converter" -o "$root/build/sample.pdf" "$root/docs/sample.doc"
fi
exec "$converter" "$@"
