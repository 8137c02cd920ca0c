#!/usr/bin/env bash
# The compositor's road on the real binary in a virtual display: home → Saved → a saved
# picture → Edit → Filter → Sepia → close → Save → High, and the picture in the photo
# library's album "Nerelda" at the size the level promises.
#
#   compositor_road.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
#
# With a third argument the compositor's screenshots are kept there.
set -euo pipefail

app=$1
device=$2
keep=${3:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Points from the layouts: the home's Saved control, the first saved picture in the option
# panel, the option bar's Edit, the toolbar's Filter and Save, the adjust panel's Sepia and
# close button, the level menu's High. The saved picture is 2048 x 1536: the compositor shows
# it scaled to cover the tablet's screen (1024 x 768) in a frame of 1024 x 768 on a tablet and
# 480 x 360 on a phone. High doubles the picture's resolution over its frame; a phone's
# capture level doubles it once more.
case $device in
  tablet)    points="768 1024"; saved="285 26"; first="40 640"; edit="150 120"; filter="390 30"; sepia="431 622"
             close="581 384"; save="585 30"; high="585 235"; expected="2048x1536" ;;
  phone-480) points="320 480"; saved="285 26"; first="40 270"; edit="150 120"; filter="150 30"; sepia="121 442"
             close="271 204"; save="210 30"; high="195 235"; expected="4096x3072" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac

mkdir -p "$VIMORA_HOME/Documents/drawImgs"
convert -size 2048x1536 gradient:orange-navy -quality 95 "$VIMORA_HOME/Documents/drawImgs/D1234.jpg"

start_app
shot() { screen_shot "$1"; [ -z "$keep" ] || cp "$work/$1.png" "$keep/compositor-road-$device-$1.png"; }

# The home screen once it has settled: two equal screenshots in a row.
screen_shot home
for _ in $(seq 30); do
  sleep 0.5
  mv "$work/home.png" "$work/before.png"
  screen_shot home
  same home before && break
done

click $saved
sleep 0.5
click $first
sleep 1
shot option-bar
same option-bar home && fail "the saved picture did not open in the compositor"

click $edit
click $filter
sleep 0.5
shot adjust-panel
click $sepia
sleep 2
shot sepia
same sepia adjust-panel && fail "Sepia changed nothing"
click $close
sleep 0.5

click $save
sleep 0.8
click $high

file=
for _ in $(seq 60); do
  file=$(find "$VIMORA_PHOTOS/Nerelda" -type f -o -type l 2>/dev/null | head -1 || true)
  [ -n "$file" ] && break
  sleep 0.5
done
[ -n "$file" ] || fail "no picture in $VIMORA_PHOTOS/Nerelda after High"
size=$(identify -format '%wx%h' "$file")
[ "$size" = "$expected" ] || fail "the High save is $size, expected $expected"
grep -q "Big error" "$VIMORA_HOME/vimora.log" && fail "the album write reported an error"
echo "compositor road on $device: $file at $size"
