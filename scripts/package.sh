#!/usr/bin/env bash
# The Debian package of both programs, made with CPack.
#   scripts/package.sh build   dist/dilatany_VERSION_amd64.deb
#   scripts/package.sh test    build it, check its files, its metadata and
#                              lintian, install it, run both programs, and
#                              remove it again
set -euo pipefail
cd "$(dirname "$0")/.."

build=${PACKAGE_BUILD:-build-package}
jobs=${JOBS:-2}

build_package() {
  scripts/install-deps.sh
  scripts/apt-install-missing.sh dpkg-dev gzip file
  # Debian's hardening flags; -O2 comes with them. The check arithmetic keeps
  # its own -ffp-contract=off, which none of these flags changes.
  local cflags ldflags
  cflags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)"
  ldflags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    "-DCMAKE_CXX_FLAGS=$cflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
    -DDILATANY_PACKAGE=ON -DDILATANY_BUILD_TESTS=OFF -DDILATANY_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" -j "$jobs"
  rm -rf "$build/cpack"
  (cd "$build" && cpack -G DEB >/dev/null)
  mkdir -p dist
  rm -f dist/dilatany_*.deb
  cp "$build"/cpack/dilatany_*_amd64.deb dist/
  deb=$(ls dist/dilatany_*_amd64.deb)
  echo "$deb ($(stat -c %s "$deb") bajtů)"
}

fail() {
  echo "package: $*" >&2
  exit 1
}

test_package() {
  scripts/apt-install-missing.sh lintian appstream
  local work
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN

  # The files, and nothing else.
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort > "$work/files"
  sort > "$work/expected" <<'LIST'
usr/bin/dilatany
usr/bin/dilatany-check
usr/share/applications/dilatany.desktop
usr/share/doc/dilatany/changelog.gz
usr/share/doc/dilatany/copyright
usr/share/doc/dilatany/examples/l-default.dat
usr/share/doc/dilatany/examples/l-steel.dat
usr/share/doc/dilatany/examples/u-default.dat
usr/share/doc/dilatany/examples/u-steel.dat
usr/share/icons/hicolor/scalable/apps/dilatany.svg
usr/share/man/man1/dilatany-check.1.gz
usr/share/man/man1/dilatany.1.gz
usr/share/metainfo/cz.dilatany.dilatany.metainfo.xml
LIST
  diff -u "$work/expected" "$work/files" || fail "the package does not hold the expected files"

  # The metadata: dpkg-shlibdeps found the Qt libraries.
  dpkg-deb -I "$deb" > "$work/info"
  cat "$work/info"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
  done
  [ "$(dpkg-deb -f "$deb" Package)" = dilatany ] || fail "wrong package name"
  [ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "wrong architecture"

  # The metainfo as installed, and Debian's own checks: no error, warnings shown.
  dpkg-deb -x "$deb" "$work/root"
  appstreamcli validate --no-net "$work/root/usr/share/metainfo/cz.dilatany.dilatany.metainfo.xml"
  lintian --fail-on error --info "$deb"

  # Installed, the checker gives the results of the worked examples, and the
  # program starts (offscreen, no display) and keeps running until stopped.
  local had_it=0
  dpkg-query -W -f='${Status}' dilatany 2>/dev/null | grep -q 'install ok installed' && had_it=1
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null
  local examples=/usr/share/doc/dilatany/examples out
  out=$(dilatany-check u "$examples/u-default.dat" "$examples/u-steel.dat")
  [ "$out" = "$examples/u-default.dat	20.00	5.33	73	Vyhovuje
$examples/u-steel.dat	174.07	97.25	44	Vyhovuje" ] || fail "unexpected results of the installed dilatany-check: $out"
  echo "$out"
  QT_QPA_PLATFORM=offscreen dilatany & local pid=$!
  sleep 3
  kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; fail "dilatany did not keep running"; }
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "dilatany started and ran for 3 s"
  if command -v man >/dev/null; then
    man -w dilatany-check >/dev/null || fail "man does not find dilatany-check"
  fi
  if [ "$had_it" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq dilatany >/dev/null
  fi
  echo "package: all checks passed"
}

case "${1:-}" in
  build) build_package ;;
  test) build_package; test_package ;;
  *) echo "Použití: $0 build|test" >&2; exit 2 ;;
esac
