#!/bin/sh
# The tree that `cmake --install` makes (into a scratch directory) passes the ecosystem's own
# validators without an error or a warning: desktop-file-validate on the desktop entry,
# appstreamcli on the AppStream component with the tree around it, mandoc and man on the manual
# pages; it holds the icon of every size the entry names, each a PNG image of its size; and its
# numbrix-skin speaks the locale's language.
#   installed_tree_test.sh BUILD_DIR
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null || { echo "cmake --install failed"; exit 1; }
share=$root/usr/share
failures=0
fail() {
    echo "$*"
    failures=$((failures + 1))
}

entry=$(ls "$share"/applications/*.desktop 2>/dev/null)
[ -n "$entry" ] || fail "no desktop entry in share/applications"
for file in $entry; do
    out=$(desktop-file-validate "$file" 2>&1) || fail "desktop-file-validate failed: $out"
    echo "$out" | grep -E 'error|warning' && fail "desktop-file-validate: $file"
done

out=$(appstreamcli validate-tree --no-net --pedantic "$root/usr" 2>&1) || fail "appstreamcli failed: $out"
echo "$out" | grep -E '^[EW]:' && fail "appstreamcli: errors or warnings"
metainfo=$(ls "$share"/metainfo/*.metainfo.xml 2>/dev/null)
[ -n "$metainfo" ] || fail "no AppStream component in share/metainfo"
for file in $metainfo; do
    out=$(appstreamcli validate --no-net --pedantic "$file" 2>&1) || fail "appstreamcli validate failed: $out"
    echo "$out" | grep -E '^[EW]:' && fail "appstreamcli validate: $file"
done

icon=$(sed -n 's/^Icon=//p' $entry)
for size in 16 24 32 48 64 128 256; do
    png="$share/icons/hicolor/${size}x${size}/apps/$icon.png"
    file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done

for page in numbrix numbrix-skin; do
    gz="$share/man/man1/$page.1.gz"
    [ -f "$gz" ] || { fail "no manual page $page(1)"; continue; }
    out=$(mandoc -T lint -W warning "$gz" 2>&1) || fail "mandoc: $out"
    [ -z "$out" ] || fail "mandoc: $out"
    out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$gz" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man --warnings: $out"
done

[ -f "$share/locale/en/LC_MESSAGES/numbrix.mo" ] || fail "no English catalogue in share/locale"
[ -x "$root/usr/bin/numbrix" ] && [ -x "$root/usr/bin/numbrix-skin" ] || fail "no numbrix and numbrix-skin in bin/"

# lib/locale holds the C library's locales on Debian; the catalogues are still share/locale's.
mkdir -p "$root/usr/lib/locale/C.utf8/LC_MESSAGES" && echo "not ours" >"$root/usr/lib/locale/C.utf8/LC_MESSAGES/libc.mo"
said() { LANGUAGE= LC_ALL= LC_MESSAGES= LANG=$1 "$root/usr/bin/numbrix-skin" render "$root/missing.skn" --keys 1 --out "$root/x.png" 2>&1; }
said en_US.UTF-8 | grep -q "The skin file is damaged or missing" || fail "numbrix-skin under en_US.UTF-8: $(said en_US.UTF-8)"
said C | grep -q "スキンファイルが壊れている" || fail "numbrix-skin under C: $(said C)"

[ "$failures" -eq 0 ] || exit 1
echo "the installed tree passes desktop-file-validate, appstreamcli, mandoc and man, and speaks English and Japanese"
