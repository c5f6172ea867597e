#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks need,
# and only those that are missing. Run as root or with sudo available.
set -euo pipefail

packages=(
  g++ make cmake git pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev libmpfr-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libx11-dev
  fonts-liberation2 xvfb xauth
)

exec "$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
