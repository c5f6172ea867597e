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

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Chybí balíčky (${missing[*]}) a k jejich instalaci je třeba root nebo sudo." >&2
  exit 1
fi

echo "Instaluji: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
