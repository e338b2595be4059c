#!/usr/bin/env bash
# Installs, with apt, only the packages the build, the tests and the program need that
# are missing. Safe to run any number of times.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev qt6-translations-l10n
  libsimpleini-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  dosbox nasm
  fonts-liberation
  xvfb xdotool xauth
  appstream desktop-file-utils
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
