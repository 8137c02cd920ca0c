#!/usr/bin/env bash
# The Debian package: CPack builds it, it depends on the runtime packages, `dpkg -x` unpacks it
# into a throw-away root, and the binary started from there as `vimora PHOTO`, in a virtual
# display, opens that photo in the editor with every resource found.
#   package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
# shellcheck source=../e2e/session.sh
source "$source/tests/e2e/session.sh"

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/package/vimora_*.deb)
depends=" $(dpkg-deb -f "$deb" Depends | tr -d ",") "
# Every library the programs need comes from a package it depends on, and so do the plug-ins
# that read WebP and TIFF photos and the interface's font.
needed=$(for b in "$build/bin/vimora" "$build/bin/vimora-fx"; do readelf -d "$b" | sed -n 's/.*NEEDED.*\[\(.*\)\]/\1/p'; done | sort -u)
for lib in $needed; do
  owner=$(dpkg -S "*/$lib" 2>/dev/null | grep -- "-linux-gnu/$lib\$" | head -1 | cut -d: -f1)
  [ -n "$owner" ] || fail "no package holds $lib"
  [[ "$depends" == *" $owner "* ]] || fail "the package does not depend on $owner (for $lib): $depends"
done
for package in qt6-image-formats-plugins fonts-liberation; do
  [[ "$depends" == *" $package "* ]] || fail "the package does not depend on $package: $depends"
done
dpkg-deb -c "$deb" | grep ' ./usr/share/vimora/resources/' >/dev/null || fail "the package has no resources"

dpkg -x "$deb" "$work/root"
unset VIMORA_RESOURCES
# A photo kept outside the library, in a folder with a space, as a file manager passes it.
mkdir -p "$work/my photos"
photo="$work/my photos/beach.png"
convert -size 600x400 gradient:orange-navy "$photo"
"$work/root/usr/bin/vimora" --device tablet "$photo" >"$log" 2>&1 &
pid=$!
for _ in $(seq 150); do
  [ -f "$VIMORA_HOME/tmp/Origin.png" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the installed vimora stopped"
  sleep 0.2
done
[ -f "$VIMORA_HOME/tmp/Origin.png" ] || fail "the installed vimora did not open the photo in the editor"
# The editor works on this photo: the working copy keeps its 3:2 shape.
read -r w h <<<"$(identify -format '%w %h' "$VIMORA_HOME/tmp/Origin.png")"
awk -v w="$w" -v h="$h" 'BEGIN{exit !(w / h > 1.45 && w / h < 1.55)}' || fail "the editor holds a ${w}x${h} picture, not the photo"
grep -q 'missing resource' "$VIMORA_HOME/vimora.log" && fail "the installed vimora misses resources"
echo "package_test: passed"
