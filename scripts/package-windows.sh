#!/usr/bin/env bash
# Puts the Windows program together into one zip:
#   scripts/package-windows.sh BUILD_DIR QT_PREFIX VERSION OUT.zip
# BUILD_DIR is the cross build that made dilatany.exe and dilatany-check.exe.
# The zip holds one folder: the two programs, the Qt and MinGW runtime DLLs,
# the two Qt plugins the windows use, Qt's Czech translation, the example
# files, a Czech read-me and the licence texts of what is shipped. The check
# at the end refuses a zip in which a program or DLL imports a DLL that is
# neither shipped nor part of Windows.
set -euo pipefail
build=$1 qt=$2 version=$3 out=$4
here=$(cd "$(dirname "$0")/.." && pwd)
cxx=x86_64-w64-mingw32-g++-posix
objdump=x86_64-w64-mingw32-objdump
qt_src=${DILATANY_CACHE:-/var/cache/dilatany}/qt-src/qt6-base-6.4.2+dfsg

name=dilatany-$version-windows-x86_64
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/priklady" "$stage/licence"

cp "$build/app/dilatany.exe" "$build/cli/dilatany-check.exe" "$stage/"
for dll in Qt6Core Qt6Gui Qt6Widgets; do cp "$qt/bin/$dll.dll" "$stage/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# The compiler's runtime DLLs that the programs and Qt import, and those that
# these import in turn (libstdc++, libgcc, winpthreads, libquadmath).
runtime_dir=$(dirname "$("$cxx" -print-file-name=libstdc++-6.dll)")
for _ in 1 2 3; do
  while read -r dll; do
    for dir in "$runtime_dir" /usr/x86_64-w64-mingw32/lib; do
      if [ ! -f "$stage/$dll" ] && [ -f "$dir/$dll" ]; then cp "$dir/$dll" "$stage/"; fi
    done
  done < <(find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec "$objdump" -p {} + | sed -n 's/^\s*DLL Name: //p' | sort -u)
done
cp /usr/share/qt6/translations/qtbase_cs.qm "$stage/"
cp "$here/examples/"*.dat "$stage/priklady/"
# Qt looks for its plugins and translations in the program's folder only.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = .\r\n' >"$stage/qt.conf"
# The read-me in UTF-8 with Windows line ends.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$here/packaging/windows/CTI-MNE.txt" | sed "s/@VERSION@/$version/"; } >"$stage/CTI-MNE.txt"

# Licence texts of what is shipped.
lic=$stage/licence
crlf() { sed 's/\r\?$/\r/' "$1" >"$2"; }
crlf "$qt_src/LICENSES/LGPL-3.0-only.txt" "$lic/Qt-LGPL-3.0.txt"
crlf "$qt_src/LICENSES/GPL-3.0-only.txt" "$lic/GPL-3.0.txt"
if [ -f "$stage/libquadmath-0.dll" ]; then
  # libquadmath is LGPL-2.1 (GCC's copyright file names it).
  crlf /usr/share/common-licenses/LGPL-2.1 "$lic/LGPL-2.1.txt"
fi
# Qt's own list of every licence in qtbase, the bundled libraries included
# (FreeType, HarfBuzz, libpng, zlib, PCRE2 and the rest).
crlf "$qt_src/debian/copyright" "$lic/qt6-base-copyright.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$lic/gcc-runtime-copyright.txt"
crlf /usr/share/doc/mingw-w64-common/copyright "$lic/mingw-w64-copyright.txt"
# (The same file names the licences of winpthreads.)
# libstdc++ and libgcc are GPL-3 with the runtime library exception; the GPL
# text is GPL-3.0.txt above.
if ! grep -q 'GCC RUNTIME LIBRARY EXCEPTION' "$lic/gcc-runtime-copyright.txt"; then
  echo "The GCC runtime library exception is missing from the copyright file" >&2
  exit 1
fi

# No debugging symbols in what users get: libstdc++ alone carries 20 MB of them.
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# Every DLL that a shipped binary imports is shipped or comes with Windows.
system_dlls="kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comdlg32 comctl32 winmm imm32
  ws2_32 uxtheme dwmapi version shlwapi setupapi netapi32 userenv wtsapi32 d3d9 d3d11 d3d12 dxgi d2d1
  dwrite msvcrt ucrtbase ntdll rpcrt4 winspool.drv mpr authz crypt32 bcrypt secur32 iphlpapi shcore
  dcomp uiautomationcore oleacc opengl32"
system_dlls=" $(echo $system_dlls) "
status=0
while IFS= read -r -d '' binary; do
  while read -r dll; do
    lower=$(echo "$dll" | tr 'A-Z' 'a-z')
    base=${lower%.dll}
    if [ -f "$stage/$dll" ] || [[ "$system_dlls" == *" $base "* ]] || [[ "$lower" == api-ms-win-* ]]; then
      continue
    fi
    echo "${binary#"$stage"/} imports $dll, which is neither shipped nor part of Windows" >&2
    status=1
  done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
done < <(find "$stage" \( -name '*.exe' -o -name '*.dll' \) -print0)
[ $status -eq 0 ] || exit 1

mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
rm -f "$out"
(cd "$build/package" && zip -q -r -9 "$out" "$name")
echo "$out: $(du -k "$out" | cut -f1) kB"
