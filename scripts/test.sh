#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON >/dev/null
cmake --build "$root/build-test"
cd "$root/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
