#!/usr/bin/env bash
# The Windows build: the engine, the files and dilatany-check, cross-compiled
# with MinGW-w64 and tested under Wine (no Qt windows, no benchmarks).
#   scripts/windows.sh test   build everything and run the tests under Wine
#   scripts/windows.sh dist   put a self-contained dist/dilatany-check.exe
set -euo pipefail
cd "$(dirname "$0")/.."

build=${WINDOWS_BUILD:-build-windows}
jobs=${JOBS:-2}
triplet=x86_64-w64-mingw32

# wine64-preloader reserves Wine's address ranges before anything else is
# mapped; without it about one start in a thousand fails at random, silently.
scripts/apt-install-missing.sh cmake make googletest g++-mingw-w64-x86-64-posix wine64 wine64-preloader

# -O2 as in the Linux build: GCC 12 at -O3 warns wrongly (-Wrestrict) about
# std::string in the number texts.
cmake -S . -B "$build" --toolchain cmake/toolchains/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
  -DDILATANY_BUILD_UI=OFF -DDILATANY_BUILD_BENCH=OFF >/dev/null

# Every DLL a program imports must come with Windows itself.
check_imports() {
  local exe=$1 dll bad=0
  while read -r dll; do
    case "${dll,,}" in
      kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll | advapi32.dll | user32.dll \
        | shell32.dll | ws2_32.dll | bcrypt.dll | ntdll.dll) ;;
      *) echo "$exe: needs $dll, which Windows does not have" >&2; bad=1 ;;
    esac
  done < <("$triplet-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  return $bad
}

case "${1:-}" in
  test)
    cmake --build "$build" -j "$jobs"
    check_imports "$build/cli/dilatany-check.exe"
    status=0
    (cd "$build" && ctest --output-on-failure -j "$jobs") || status=$?
    # The Wine server the tests started; it would end by itself a little later.
    WINEPREFIX="$PWD/$build/wineprefix" "$(sed -n 's/^WINESERVER_EXECUTABLE:FILEPATH=//p' "$build/CMakeCache.txt")" -k \
      2>/dev/null || true
    exit $status
    ;;
  dist)
    cmake --build "$build" -j "$jobs" --target dilatany-check
    mkdir -p dist
    "$triplet-strip" -o dist/dilatany-check.exe "$build/cli/dilatany-check.exe"
    check_imports dist/dilatany-check.exe
    echo "dist/dilatany-check.exe ($(stat -c %s dist/dilatany-check.exe) bajtů)"
    ;;
  *)
    echo "Použití: $0 test|dist" >&2
    exit 2
    ;;
esac
