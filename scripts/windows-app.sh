#!/usr/bin/env bash
# The windows for Windows: dilatany.exe and its tests, cross-built with
# MinGW-w64 against Qt built for Windows (scripts/build-qt-windows.sh), and run
# under Wine.
#   scripts/windows-app.sh build         cross-build the program, the window tests and helpers
#   scripts/windows-app.sh dist          dist/dilatany-VERSION-windows-x86_64.zip
#   scripts/windows-app.sh test          window tests under Wine (offscreen), then the zip's
#                                        program under Wine on a virtual X display
#   scripts/windows-app.sh screenshots   the five windows as Windows draws them,
#                                        into docs/screenshots/windows/
set -euo pipefail
cd "$(dirname "$0")/.."

build=${WINDOWS_APP_BUILD:-build-windows-app}
jobs=${JOBS:-2}

scripts/apt-install-missing.sh cmake make ninja-build googletest g++-mingw-w64-x86-64-posix wine wine64 \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n fonts-liberation2 xvfb xauth zip unzip
scripts/build-qt-windows.sh
qt=$(scripts/build-qt-windows.sh --prefix)

# The programs and tests of this build load Qt's DLLs and the compiler's
# runtime DLLs; under Wine they are found through WINEPATH.
runtime_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
export WINEPATH="Z:$qt/bin;Z:$runtime_dir;Z:/usr/x86_64-w64-mingw32/lib"

configure() {
  # The runtimes stay DLLs here: Qt's DLLs use them too, and one copy of
  # libstdc++ per process keeps exceptions and allocations in one place.
  cmake -S . -B "$build" -G Ninja --toolchain cmake/toolchains/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    -DDILATANY_BUILD_BENCH=OFF -DDILATANY_STATIC_RUNTIME=OFF \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" -DQt6_DIR="$qt/lib/cmake/Qt6" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
}

build_all() {
  configure
  cmake --build "$build" -j "$jobs"
}

version() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt"
}

zip_path() {
  echo "dist/dilatany-$(version)-windows-x86_64.zip"
}

dist() {
  build_all
  scripts/package-windows.sh "$build" "$qt" "$(version)" "$(zip_path)"
}

case "${1:-}" in
  build)
    build_all
    ;;
  dist)
    dist
    ;;
  test)
    dist
    status=0
    (cd "$build" && ctest --output-on-failure -R '^ui\.') || status=$?
    WINEPREFIX="$PWD/$build/wineprefix" "$(sed -n 's/^WINESERVER_EXECUTABLE:FILEPATH=//p' "$build/CMakeCache.txt")" -k \
      2>/dev/null || true
    tests/windows/smoke_wine.sh "$(zip_path)" "$build/tests/windows/window-driver.exe" \
      "$build/tests/windows/dilatany-window-tree.dll" || status=$?
    exit $status
    ;;
  screenshots)
    build_all
    tests/windows/screenshots_wine.sh "$build" "$qt" docs/screenshots/windows
    ;;
  *)
    echo "Použití: $0 build|dist|test|screenshots" >&2
    exit 2
    ;;
esac
