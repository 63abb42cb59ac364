#!/usr/bin/env bash
# Installs the Debian packages Quillmere needs to build, test and run, when they are missing.
# Safe to run again; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  zlib1g-dev libfreetype-dev libfontconfig-dev libcairo2-dev libjpeg62-turbo-dev libpng-dev
  libharfbuzz-dev libfribidi-dev libunibreak-dev nettle-dev
  qt6-base-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qpdf poppler-utils
  fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea fonts-dejavu-core
  fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
