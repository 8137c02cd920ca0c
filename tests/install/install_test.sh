#!/usr/bin/env bash
# `cmake --install` into a throw-away prefix: the desktop entry and the metadata pass their
# validators, the icons are there at every size, the man pages render and name every option
# and operation, and the resources land where the installed binary looks for them.
#   install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1 id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/vimora bin/vimora-fx; do [ -x "$prefix/$f" ] || fail "$f not installed"; done

entry=$prefix/share/applications/$id.desktop
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
grep -q '^Exec=vimora %F$' "$entry" || fail "the entry does not pass the files it is given"
for type in image/jpeg image/png image/webp image/tiff image/bmp; do
  grep -q "^MimeType=.*$type;" "$entry" || fail "the entry does not open $type"
done
icon=$(sed -n 's/^Icon=//p' "$entry")

meta=$prefix/share/metainfo/$id.metainfo.xml
out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate: $out"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" || fail "the metadata names another entry"
# Every screenshot the metadata shows is one of docs/.
for shot in $(sed -n 's|.*<image>.*/\([^/]*\)</image>.*|\1|p' "$meta"); do
  [ -f "$(dirname "$0")/../../docs/$shot" ] || fail "screenshot $shot is not in docs/"
done

for size in 48 64 128 256 512; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [ -f "$png" ] || fail "no ${size} pixel icon"
  [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "the ${size} pixel icon is $(identify -format '%wx%h' "$png")"
done
svg=$prefix/share/icons/hicolor/scalable/apps/$icon.svg
python3 -c 'import sys, xml.etree.ElementTree as t; r = t.parse(sys.argv[1]).getroot(); sys.exit(not r.tag.endswith("svg") or len(list(r.iter())) < 20)' "$svg" \
  || fail "the scalable icon is no drawing"
# That it draws the same picture as the bitmaps: resources_test (AppIcon).
man_text() { LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$1" 2>"$prefix/man-warnings"; }
for page in vimora vimora-fx; do
  file=$prefix/share/man/man1/$page.1
  [ -f "$file" ] || fail "no man page for $page"
  man_text "$file" >"$prefix/$page.txt"
  [ ! -s "$prefix/man-warnings" ] || fail "$page.1 renders with warnings: $(cat "$prefix/man-warnings")"
done
for option in --device --verbose --help PHOTO; do
  grep -q -- "$option" "$prefix/vimora.txt" || fail "vimora(1) does not name $option"
done
grep -q 'now tablet\|no screen to measure' "$prefix/vimora.txt" && fail "vimora(1) describes the build machine's screen"
# Every catalogue operation has its entry, with its parameters.
"$prefix/bin/vimora-fx" --list | grep -v '^ \|^\[\|^$' | awk '{print $1}' >"$prefix/operations"
[ "$(wc -l <"$prefix/operations")" -gt 20 ] || fail "vimora-fx --list lists too few operations"
while read -r op; do
  grep -q "^ *$op\b" "$prefix/vimora-fx.txt" || fail "vimora-fx(1) does not list $op"
done <"$prefix/operations"
grep -q 'inputEV' "$prefix/vimora-fx.txt" || fail "vimora-fx(1) leaves out the parameters"

# The resources, all of them, where the binary looks: the build's folder beside it is absent.
diff <(cd "$build/bin/resources" && find . -type f ! -name .artwork-stamp | sort) \
     <(cd "$prefix/share/vimora/resources" && find . -type f | sort) >/dev/null || fail "the installed resources differ"
echo "install_test: passed"
