#!/bin/sh
# Installs the build into a scratch prefix and checks what the desktop needs of it: the program,
# a menu entry that desktop-file-validate accepts, the album file type (glob and signature) and the
# icons at every size of the theme. Usage: check-install.sh BUILD_DIR CMAKE
set -u
build=$1
cmake=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failed=0
fail() {
    echo "FEHLER: $*"
    failed=1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || { echo "cmake --install failed"; exit 1; }
share=$prefix/share
[ -x "$prefix/bin/pixo-rahmler" ] || fail "bin/pixo-rahmler fehlt"

desktop=$share/applications/pixo-rahmler.desktop
[ -f "$desktop" ] || fail "$desktop fehlt"
grep -q '^MimeType=application/x-pixo-rahmler-album;$' "$desktop" || fail "MimeType fehlt"
grep -q '^Categories=Graphics;Photography;Printing;$' "$desktop" || fail "Categories"
grep -q '^Name\[de\]=' "$desktop" && grep -q '^GenericName=' "$desktop" &&
    grep -q '^GenericName\[de\]=' "$desktop" || fail "deutsche und englische Namen"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    echo "desktop-file-validate not installed (desktop-file-utils): the menu entry is not validated"
fi

[ -f "$share/mime/packages/pixo-rahmler.xml" ] || fail "MIME-Typ fehlt"
if command -v update-mime-database >/dev/null 2>&1; then
    # The install ran update-mime-database on the scratch prefix.
    grep -q 'application/x-pixo-rahmler-album:\*\.pxr' "$share/mime/globs2" || fail "glob *.pxr"
    grep -aq 'ZOR-VEX Pixo-Rahmler ' "$share/mime/magic" || fail "Signatur"
fi

for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/pixo-rahmler.png
    if [ ! -f "$png" ]; then
        fail "$png fehlt"
    elif command -v identify >/dev/null 2>&1; then
        [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "$png: Größe"
    fi
done
[ -f "$share/icons/hicolor/scalable/apps/pixo-rahmler.svg" ] || fail "SVG-Symbol fehlt"
exit $failed
