#!/usr/bin/env bash
# Builds Qt 6 (qtbase) for Windows x86-64 with MinGW-w64 from Debian's own source
# package and installs it into a prefix of its own, outside the project:
# Core, Gui, Widgets, Test, the windows and offscreen platform plugins and the
# Windows styles, as shared libraries (whoever receives the program may swap
# Qt's libraries for their own).
#
# The prefix carries a stamp: a hash of the Qt version, the configure options
# and the cross compiler's version. A run that finds a matching stamp does
# nothing. Debian's host moc, rcc and uic (QT_HOST_PATH=/usr) serve the cross
# build; nothing is built for the host.
#
#   scripts/build-qt-windows.sh            build when the stamp is missing or stale
#   scripts/build-qt-windows.sh --prefix   print the prefix and exit
#
# Environment: DILATANY_QT_WIN_PREFIX (install prefix), DILATANY_CACHE (where the
# source and the build tree live), JOBS (ninja jobs, default 2), NICE (niceness,
# default 19; the machine is shared).
set -euo pipefail

qt_version=6.4.2
prefix=${DILATANY_QT_WIN_PREFIX:-/opt/dilatany/qt-${qt_version}-mingw64}
cache=${DILATANY_CACHE:-/var/cache/dilatany}
jobs=${JOBS:-2}
niceness=${NICE:-19}
here=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--prefix" ]; then
  echo "$prefix"
  exit 0
fi

# Everything that decides what ends up in the prefix. Keep it in one list: it is
# both what CMake gets and what the stamp hashes.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_vulkan=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  # The Debian tarball has no src/3rdparty/wintab, which tablet events need.
  -DFEATURE_tabletevent=OFF
  # Without INPUT_opengl=no the windows platform plugin still expects OpenGL.
  -DFEATURE_opengl=OFF
  -DINPUT_opengl=no
  # Direct2D stays: without it the DirectWrite font database does not link.
  -DFEATURE_direct2d=ON
  # The program reads and shows no JPEG, GIF or ICO images.
  -DFEATURE_jpeg=OFF
  -DFEATURE_gif=OFF
  -DFEATURE_ico=OFF
)

cxx=x86_64-w64-mingw32-g++-posix
cc=x86_64-w64-mingw32-gcc-posix

compiler_id() {
  if command -v "$cxx" >/dev/null 2>&1; then
    "$cxx" -dumpfullversion 2>/dev/null || "$cxx" -dumpversion
  else
    echo none
  fi
}

stamp_value() {
  printf '%s\n' "qtbase ${qt_version}" "compiler $(compiler_id)" "${qt_options[@]}" | sha256sum | cut -d' ' -f1
}

stamp_file=$prefix/.dilatany-qt-stamp
if [ -f "$stamp_file" ] && [ "$(cat "$stamp_file")" = "$(stamp_value)" ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then as_root=(sudo); else
    echo "Sestavení Qt pro Windows potřebuje root nebo sudo (balíčky, $prefix)." >&2
    exit 1
  fi
fi

# --- packages -----------------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev xz-utils qt6-base-dev-tools qt6-base-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
updated=0
apt_update() {
  if [ $updated -eq 0 ]; then
    "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
    updated=1
  fi
}
if [ ${#missing[@]} -gt 0 ]; then
  echo "Instaluji: ${missing[*]}"
  apt_update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 \
    install -y -qq --no-install-recommends "${missing[@]}"
fi

# --- source -------------------------------------------------------------------
src_root=$cache/qt-src
src=$src_root/qt6-base-${qt_version}+dfsg
if [ ! -f "$src/CMakeLists.txt" ]; then
  sources_file=/etc/apt/sources.list.d/dilatany-deb-src.sources
  if [ ! -f "$sources_file" ]; then
    # The same mirror as the binary packages come from.
    uri=$(sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
    if [ -z "$uri" ]; then
      uri=$(sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\(\S\+\)[[:space:]]\+bookworm[[:space:]].*/\2/p' \
        /etc/apt/sources.list 2>/dev/null | head -n1)
    fi
    uri=${uri:-http://deb.debian.org/debian}
    printf '%s\n' "Types: deb-src" "URIs: $uri" "Suites: bookworm" "Components: main" \
      "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" \
      | "${as_root[@]}" tee "$sources_file" >/dev/null
    updated=0
  fi
  apt_update
  "${as_root[@]}" mkdir -p "$src_root"
  "${as_root[@]}" chown "$(id -u):$(id -g)" "$src_root"
  rm -rf "$src_root"/qt6-base-*
  (cd "$src_root" && apt-get source -qq qt6-base)
  if [ ! -f "$src/CMakeLists.txt" ]; then
    echo "Zdroj qt6-base ${qt_version} se nepodařilo získat (v $src_root je: $(ls "$src_root"))." >&2
    exit 1
  fi
fi

# --- toolchain ----------------------------------------------------------------
build=$cache/qt-build-mingw64
"${as_root[@]}" mkdir -p "$build"
"${as_root[@]}" chown "$(id -u):$(id -g)" "$build"
toolchain=$here/cmake/toolchains/mingw-w64-x86_64.cmake
if [ ! -f "$toolchain" ]; then
  # A minimal cross toolchain, until the project's own file is there. Only the
  # compiler matters for the stamp, so switching files does not rebuild Qt.
  toolchain=$build/mingw-w64-x86_64.cmake
  cat >"$toolchain" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $cc)
set(CMAKE_CXX_COMPILER $cxx)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
fi

# --- build --------------------------------------------------------------------
start=$(date +%s)
echo "Sestavuji Qt ${qt_version} pro Windows (MinGW-w64) do $prefix, ninja -j$jobs, nice $niceness"
rm -rf "$build/tree"
nice -n "$niceness" cmake -S "$src" -B "$build/tree" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_options[@]}" \
  >"$build/configure.log" 2>&1 || { tail -n 40 "$build/configure.log" >&2; exit 1; }
nice -n "$niceness" cmake --build "$build/tree" -j "$jobs" >"$build/build.log" 2>&1 \
  || { tail -n 40 "$build/build.log" >&2; exit 1; }
"${as_root[@]}" rm -rf "$prefix"
"${as_root[@]}" mkdir -p "$prefix"
"${as_root[@]}" chown "$(id -u):$(id -g)" "$prefix"
cmake --install "$build/tree" >"$build/install.log" 2>&1 || { tail -n 40 "$build/install.log" >&2; exit 1; }
test -f "$prefix/plugins/platforms/qwindows.dll"
test -f "$prefix/plugins/platforms/qoffscreen.dll"
test -f "$prefix/bin/Qt6Widgets.dll"
test -f "$prefix/bin/Qt6Test.dll"
stamp_value >"$stamp_file"
rm -rf "$build/tree"
echo "Qt pro Windows hotovo za $(( ($(date +%s) - start) / 60 )) min, $(du -sh "$prefix" | cut -f1)."
