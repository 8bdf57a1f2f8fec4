#!/usr/bin/env bash
# Installs the build into a DESTDIR and checks what an administrator gets there, then
# builds the .deb with cpack and checks its contents, conffiles and dependencies with
# dpkg-deb. Prints "N passed, N failed"; exits non-zero on any failure.
#
# Usage: install_and_package_test.sh BUILD_DIR
set -uo pipefail

build="$(realpath "${1:?usage: install_and_package_test.sh BUILD_DIR}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # description; command...
  local what="$1"; shift
  if "$@" >"$work/last.log" 2>&1; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAILED: $what"; sed 's/^/    /' "$work/last.log"; fi
}

prefix="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"
root="$work/root"
check "cmake --install into DESTDIR" env DESTDIR="$root" cmake --install "$build"

programs=(sendwerk sendwerk-senden cmail dbftool dbfbrowse)
installed=(
  /etc/sendwerk/sendwerk.conf
  "$prefix/share/applications/sendwerk.desktop"
  "$prefix/share/icons/hicolor/scalable/apps/sendwerk.svg"
  "$prefix/lib/systemd/system/sendwerk-senden.service"
  "$prefix/lib/systemd/system/sendwerk-senden.timer"
  "$prefix/share/man/man5/sendwerk.conf.5.gz"
  "$prefix/share/doc/sendwerk/README.md"
)
for p in "${programs[@]}"; do
  installed+=("$prefix/bin/$p" "$prefix/share/man/man1/$p.1.gz")
  check "$p is executable" test -x "$root$prefix/bin/$p"
  check "$p --version answers" bash -c "'$root$prefix/bin/$p' --version | grep -qx '$p (Sendwerk) [0-9.]*'"
done
for f in "${installed[@]}"; do check "installed: $f" test -s "$root$f"; done

for page in "$root$prefix"/share/man/man*/*.gz; do
  # groff's warnings catch a broken macro; man -l shows the page as a reader gets it.
  check "man page $(basename "$page") renders without warnings" \
    bash -c "zcat '$page' | groff -man -Tutf8 -ww -z 2>&1 | (! grep .)"
  check "man page $(basename "$page") names its program" \
    bash -c "MANWIDTH=80 man -l '$page' 2>/dev/null | grep -q '^NAME'"
done
check "exit statuses in the man page of sendwerk-senden" \
  bash -c "MANWIDTH=80 man -l '$root$prefix/share/man/man1/sendwerk-senden.1.gz' | sed -n '/^EXIT STATUS/,/^[A-Z]/p' | grep -cE '^       [0-5] ' | grep -qx 6"
check "the desktop entry is valid" desktop-file-validate "$root$prefix/share/applications/sendwerk.desktop"
check "the example settings are all comments and sections" \
  bash -c "! grep -vE '^(;.*|\[[a-z]+\]|)\$' '$root/etc/sendwerk/sendwerk.conf'"
check "the service starts the installed command" \
  grep -qx "ExecStart=$prefix/bin/sendwerk-senden --quiet" "$root$prefix/lib/systemd/system/sendwerk-senden.service"
# systemd's own check of both units; the command path is the DESTDIR's, as it is only
# installed there.
mkdir -p "$work/units"
sed "s|^ExecStart=$prefix/bin/|ExecStart=$root$prefix/bin/|" "$root$prefix/lib/systemd/system/sendwerk-senden.service" \
  >"$work/units/sendwerk-senden.service"
cp "$root$prefix/lib/systemd/system/sendwerk-senden.timer" "$work/units/"
check "systemd-analyze verify accepts the units" \
  systemd-analyze verify --man=no "$work/units/sendwerk-senden.timer" "$work/units/sendwerk-senden.service"
check "the timer runs every two minutes" grep -qx "OnUnitActiveSec=2min" "$root$prefix/lib/systemd/system/sendwerk-senden.timer"

# The package, from the same install rules.
check "cpack builds the .deb" cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package"
deb="$(ls "$work"/package/sendwerk_*.deb 2>/dev/null | head -n1)"
check "one .deb was made" test -n "$deb"
if [ -n "$deb" ]; then
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
  for f in "${installed[@]}"; do check "in the package: $f" grep -qx "$f" "$work/contents"; done
  check "the settings example is a conffile" bash -c "dpkg-deb -I '$deb' conffiles | grep -qx /etc/sendwerk/sendwerk.conf"
  depends="$(dpkg-deb -f "$deb" Depends)"
  for library in libc6 libqt6core6 libqt6widgets6 libvmime 'libgnutls30' ca-certificates; do
    check "depends on $library ($depends)" grep -q "$library" <<<"$depends"
  done
  check "the package's programs are stripped" \
    bash -c "dpkg-deb -x '$deb' '$work/unpacked' && ! file '$work/unpacked$prefix/bin/'* | grep -q 'not stripped'"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
