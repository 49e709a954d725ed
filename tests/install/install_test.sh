#!/bin/sh
# Installs the build into a temporary DESTDIR as `make install` does and
# checks what a desktop and a user get: the program folder in one place, the
# two commands on the PATH finding it (also read-only), a menu entry, icons,
# AppStream metainfo and the manual page, each passing its validator.
#   install_test.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
root=$(mktemp -d)
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT
prefix=/usr/local
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >/dev/null
top="$root$prefix"
folder="$top/lib/zelo-converter"

for f in zelo-converter zelo-convert libEncoder.so Output.dll Skin/Skin.ini Skin/startup.jpg \
         help/index.html; do
    [ -e "$folder/$f" ] || fail "program folder lacks $f"
done
# Every picture the guide shows is there.
for img in $(sed -n 's/.*<img src="\([^"]*\)".*/\1/p' "$folder/help/index.html"); do
    [ -s "$folder/help/$img" ] || fail "the guide's picture $img is missing"
done
[ ! -e "$folder/Snapshot" ] || fail "scratch folder installed into the program folder"

for size in 16 22 24 32 48 64 128 256; do
    icon="$top/share/icons/hicolor/${size}x${size}/apps/zelo-converter.png"
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon"
done

desktop="$top/share/applications/example.zelo.Converter.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -q '^Exec=zelo-converter %F$' "$desktop" || fail "desktop entry does not open files"
appstreamcli validate --no-net "$top/share/metainfo/example.zelo.Converter.metainfo.xml" \
    || fail "appstreamcli validate"
man="$top/share/man/man1/zelo-convert.1"
[ -s "$man" ] || fail "no manual page"
if command -v groff >/dev/null; then
    groff -man -Tutf8 -ww -z "$man" 2>&1 | grep . && fail "manual page warnings"
fi

# The commands on the PATH are links into the program folder, and the
# program folder is found through them even when nobody may write there.
for c in zelo-converter zelo-convert; do
    [ "$(readlink -f "$top/bin/$c")" = "$(readlink -f "$folder/$c")" ] || fail "$c link"
done
chmod -R a-w "$folder"
home="$root/home"
mkdir -p "$home"
out=$(cd / && HOME="$home" XDG_CONFIG_HOME="$home/.config" PATH="$top/bin:$PATH" \
      zelo-convert --list-profiles) || fail "zelo-convert --list-profiles"
echo "$out" | grep -q "Phone Standard" || fail "zelo-convert did not read the shipped profiles: $out"
echo "install test passed"
