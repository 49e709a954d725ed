#!/bin/sh
# Installs the build into a temporary DESTDIR as `make install` does and
# checks what a desktop and a user get, each part passing its validator;
# where lintian is installed, the Debian package passes it too.
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
data="$top/share/zelo-converter"

for f in lib/zelo-converter/zelo-converter lib/zelo-converter/zelo-convert \
         lib/zelo-converter/libEncoder.so share/zelo-converter/installed \
         share/zelo-converter/Output.dll share/zelo-converter/Skin/Skin.ini \
         share/zelo-converter/Skin/startup.jpg share/zelo-converter/help/index.html; do
    [ -e "$top/$f" ] || fail "$f is missing"
done
for f in "$folder"/*; do # only machine code in the program folder
    file -b "$f" | grep -q '^ELF' || fail "not machine code in the program folder: $f"
done
# Every picture the guide shows is there.
for img in $(sed -n 's/.*<img src="\([^"]*\)".*/\1/p' "$data/help/index.html"); do
    [ -s "$data/help/$img" ] || fail "the guide's picture $img is missing"
done
[ ! -e "$folder/Snapshot" ] || fail "scratch folder installed into the program folder"

for size in 16 22 24 32 48 64 128 256; do
    icon="$top/share/icons/hicolor/${size}x${size}/apps/zelo-converter.png"
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon"
done

desktop="$top/share/applications/zelo-converter.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -q '^Exec=zelo-converter %F$' "$desktop" || fail "desktop entry does not open files"
appstreamcli validate --no-net "$top/share/metainfo/example.zelo.Converter.metainfo.xml" \
    || fail "appstreamcli validate"
for page in zelo-convert zelo-converter; do
    man="$top/share/man/man1/$page.1.gz"
    [ -s "$man" ] || fail "no manual page for $page"
    if command -v groff >/dev/null; then
        zcat "$man" | groff -man -Tutf8 -ww -z 2>&1 | grep . && fail "manual page warnings ($page)"
    fi
done

# The commands on the PATH are links into the program folder, and the
# program folder is found through them even when nobody may write there.
for c in zelo-converter zelo-convert; do
    [ "$(readlink -f "$top/bin/$c")" = "$(readlink -f "$folder/$c")" ] || fail "$c link"
done
chmod -R a-w "$folder" "$data"
home="$root/home"
mkdir -p "$home"
out=$(cd / && HOME="$home" XDG_CONFIG_HOME="$home/.config" PATH="$top/bin:$PATH" \
      zelo-convert --list-profiles) || fail "zelo-convert --list-profiles"
echo "$out" | grep -q "^0	.*Phone Standard" || fail "zelo-convert did not read the shipped profiles: $out"

# Offered under "Open With", but a player keeps the double-click where no
# default-applications list decides (the first registered name wins).
if command -v gio >/dev/null && command -v update-desktop-database >/dev/null; then
    printf '[Desktop Entry]\nType=Application\nName=Player\nExec=true %%U\nMimeType=video/mp4;\n' \
        > "$top/share/applications/mpv.desktop"
    update-desktop-database "$top/share/applications"
    mime=$(cd / && env -i PATH="$top/bin:/usr/bin:/bin" HOME="$home" XDG_CONFIG_DIRS="$root/none" \
           XDG_DATA_DIRS="$top/share:/usr/share" gio mime video/mp4)
    rm "$top/share/applications/mpv.desktop" "$top/share/applications/mimeinfo.cache"
    echo "$mime" | grep -q "^Default application.*mpv.desktop" || fail "the converter is the default: $mime"
    echo "$mime" | grep -q "zelo-converter.desktop" || fail "not offered for video/mp4: $mime"
fi

# The Debian package, as lintian sees it: no error, no warning.
if command -v lintian >/dev/null && command -v cpack >/dev/null; then
    (cd "$build" && cpack -G DEB -B "$root/package" >/dev/null) || fail "cpack"
    report=$(lintian --no-cfg --fail-on none "$root"/package/zelo-converter_*.deb 2>&1)
    echo "$report"
    echo "$report" | grep -E '^[EW]: ' && fail "lintian reports errors or warnings"
fi
echo "install test passed"
