#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the desktop files with
# the desktop's own validators, then builds the Debian package and lists it.
# Exits 77 (skipped) only when a validator is not installed at all.
set -euo pipefail
build=$1
id=org.example.Vorlix

for tool in desktop-file-validate appstreamcli update-mime-database cpack dpkg-deb; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
share=$tmp/usr/share
for f in "$tmp/usr/bin/vorlix" "$share/vorlix/vorlix-help.html" \
         "$share/applications/$id.desktop" "$share/metainfo/$id.metainfo.xml" \
         "$share/icons/hicolor/scalable/apps/$id.svg" \
         "$share/icons/hicolor/scalable/mimetypes/application-x-vorlix-links.svg" \
         "$share/mime/packages/$id.xml"; do
  [ -f "$f" ] || fail "not installed: ${f#$tmp}"
done
[ -x "$tmp/usr/bin/vorlix" ] || fail "the program is not executable"

desktop=$share/applications/$id.desktop
desktop-file-validate "$desktop"
grep -qx 'Exec=vorlix %F' "$desktop" || fail "Exec line"
grep -qx 'Categories=Network;Qt;' "$desktop" || fail "Categories line"
grep -q '^Keywords=.' "$desktop" || fail "no Keywords"
grep -qx 'MimeType=application/x-vorlix-links;' "$desktop" || fail "MimeType line"
grep -qx "Icon=$id" "$desktop" || fail "Icon line"

appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"

# The file type must compile and map *.ldb to it.
update-mime-database "$share/mime" >"$tmp/mime.log" 2>&1 || { cat "$tmp/mime.log"; fail "update-mime-database"; }
grep -q ':application/x-vorlix-links:\*\.ldb' "$share/mime/globs2" || fail "*.ldb glob"
grep -q 'Vorlix link database' "$share/mime/application/x-vorlix-links.xml" || fail "comment"

# The package: built from the same install rules, then listed.
(cd "$build" && cpack -G DEB -B "$tmp/pkg" >/dev/null)
deb=$(ls "$tmp"/pkg/*.deb)
echo "== $(basename "$deb")"
dpkg-deb -f "$deb" Package Version Depends
dpkg-deb -c "$deb" | awk '{print $6}' | tee "$tmp/list"
for f in ./usr/bin/vorlix ./usr/share/applications/$id.desktop \
         ./usr/share/metainfo/$id.metainfo.xml ./usr/share/mime/packages/$id.xml \
         ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/vorlix/vorlix-help.html; do
  grep -qx "$f" "$tmp/list" || fail "not in the package: $f"
done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no Qt dependency found"
echo "PASS"
