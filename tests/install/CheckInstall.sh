#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what the desktop needs of it: the
# program and its samples, a valid menu entry, the icons, the layout file type, and that the
# installed program runs and keeps the user's layouts out of the prefix.
# Usage: CheckInstall.sh <build folder>
set -euo pipefail
build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$prefix" "$home"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

share=$prefix/share
for f in bin/quillmore \
         "share/quillmore/samples/C-Track Oval Station.xml" \
         "share/quillmore/samples/K-Track Two Decks.xml" \
         "share/quillmore/samples/Z-Track Shelf.xml" \
         "share/quillmore/samples/C-Track Figure Eight.xml" \
         "share/quillmore/samples/TRIX C-Track Reversing Loop.xml" \
         share/applications/quillmore.desktop \
         share/mime/packages/quillmore.xml \
         share/icons/hicolor/scalable/apps/quillmore.svg \
         share/locale/de/LC_MESSAGES/quillmore.mo; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/quillmore" ] || fail "the program is not executable"

# PNG icons at their sizes: the width and height stand in the IHDR chunk, bytes 16 to 23.
for size in 48 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/quillmore.png
    [ -f "$png" ] || fail "no ${size}px icon"
    dims=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
    expected="0 0 $((size / 256)) $((size % 256)) 0 0 $((size / 256)) $((size % 256))"
    [ "$dims" = "$expected" ] || fail "${size}px icon is sized '$dims'"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/quillmore.svg" || fail "the SVG icon is no SVG"

desktop-file-validate "$share/applications/quillmore.desktop" || fail "desktop-file-validate"
grep -qx 'MimeType=application/x-quillmore-layout;' "$share/applications/quillmore.desktop" ||
    fail "the menu entry does not take layout files"

# The file type, recognised by the root element, and the program that opens it.
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -q 'application/x-quillmore-layout' "$share/mime/XMLnamespaces" ||
    fail "layout files are not recognised by their root element"
# gio and xdg-mime took a saved layout for application/xml: the glob of *.xml won unread.
if command -v gio >/dev/null; then
    printf '<?xml version="1.0"?>\n<plain/>\n' >"$home/plain.xml"
    for f in "$share/quillmore/samples/Z-Track Shelf.xml" "$home/plain.xml"; do
        want=application/x-quillmore-layout
        [ "$f" = "$home/plain.xml" ] && want=application/xml
        got=$(XDG_DATA_DIRS="$share:/usr/local/share:/usr/share" XDG_DATA_HOME="$home/none" \
              gio info -a standard::content-type "$f" | sed -n 's/.*content-type: //p')
        [ "$got" = "$want" ] || fail "gio takes $(basename "$f") for '$got'"
        if command -v xdg-mime >/dev/null; then
            got=$(XDG_DATA_DIRS="$share:/usr/local/share:/usr/share" XDG_DATA_HOME="$home/none" \
                  XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$f")
            [ "$got" = "$want" ] || fail "xdg-mime takes $(basename "$f") for '$got'"
        fi
    done
fi
update-desktop-database "$share/applications" || fail "update-desktop-database"
grep -q 'application/x-quillmore-layout=quillmore.desktop' "$share/applications/mimeinfo.cache" ||
    fail "layout files are not associated with Quillmore"
if command -v xdg-mime >/dev/null; then
    default=$(XDG_DATA_DIRS="$share" XDG_DATA_HOME="$home/.local/share" HOME="$home" \
              XDG_CURRENT_DESKTOP= xdg-mime query default application/x-quillmore-layout)
    [ "$default" = "quillmore.desktop" ] || fail "xdg-mime names '$default' for layout files"
fi

# The German catalog is a compiled catalog that holds the menus' texts.
mo=$share/locale/de/LC_MESSAGES/quillmore.mo
msgunfmt "$mo" >"$home/de.po" 2>/dev/null || fail "the German catalog is no catalog"
grep -qx 'msgstr "&Datei"' "$home/de.po" || fail "the German catalog lacks its menus"

# The installed program runs: --version needs no display.
[ "$("$prefix/bin/quillmore" --version)" = "Quillmore 1.3" ] || fail "--version"

# Started on a display, it copies the samples into the user's layouts folder, not the prefix.
if [ -n "${DISPLAY:-}" ]; then
    touch "$home/started"
    HOME=$home XDG_CONFIG_HOME=$home/.config LC_ALL= LANGUAGE= LANG=de_DE.UTF-8 \
        "$prefix/bin/quillmore" >/dev/null 2>&1 &
    pid=$!
    found=
    for _ in $(seq 1 100); do
        found=$(find "$home" -name 'Z-Track Shelf.xml' -print -quit)
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] || fail "the installed program did not set up the user's layouts folder"
    # A German system gets German from the catalog installed beside the program.
    grep -q 'Language: de' "$home/.quillmore/quillmore.log" ||
        fail "the installed program did not start in German: $(cat "$home/.quillmore/quillmore.log")"
    case "$found" in "$prefix"/*) fail "layouts went into the prefix";; esac
    [ -z "$(find "$prefix" -newer "$home/started" -print -quit)" ] ||
        fail "the program wrote into the prefix"
fi
echo "install: all checks passed"
