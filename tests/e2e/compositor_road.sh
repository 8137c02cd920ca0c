#!/usr/bin/env bash
# The compositor's road on the real binary in a virtual display: home → Saved → a saved
# picture → Edit → Tip → OK (the toolbar again) → Layers and More by their centres → Filter →
# Sepia → Undo (the background as before) → close → Save → High, and the picture in
# the photo library's album "Nerelda" at the size the level promises.
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
# panel, the option bar's Edit, the toolbar's Tip, Filter, Layers, More and Save, the tip's OK,
# the adjust panel's Sepia, Undo and close button, the level menu's High. The saved picture
# is 2048 x 1536; every level is a factor of its own size, so High writes 4096 x 3072.
case $device in
  tablet)    points="768 1024"; saved="285 26"; first="40 640"; edit="150 120"; tip="235 30"; filter="390 30"
             layers="42 30"; more="120 30"; ok="365 595"; sepia="431 622"; undo="394 572"; close="581 384"
             save="585 30"; high="640 235"; expected="4096x3072" ;;
  phone-480) points="320 480"; saved="285 26"; first="40 270"; edit="150 120"; tip="90 30"; filter="150 30"
             layers="45 75"; more="137 75"; ok="85 270"; sepia="121 442"; undo="84 392"; close="271 204"
             save="210 30"; high="180 260"; expected="4096x3072" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
# Pictures alike to the pixel but for the pointer's trace.
identical() { awk -v e="$(differ "$1" "$2")" 'BEGIN{exit !(e < 0.002)}'; }
# A screenshot that comes to match an earlier one (by test $3, default same), or failure
# after 20 tries.
comes_back() {
  for _ in $(seq 20); do
    shot "$1"
    "${3:-same}" "$1" "$2" && return 0
    sleep 0.25
  done
  return 1
}

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
changed_shot option-bar home || fail "the saved picture did not open in the compositor"

click $edit
settled_shot toolbar || fail "the toolbar did not settle"

# The tip opens over the toolbar and its OK leads back to it.
click $tip
changed_shot tip toolbar || fail "Tip showed nothing"
click $ok
comes_back after-tip toolbar || fail "the tip's OK did not lead back to the toolbar"

# Layers and More answer a tap at their centres; Escape leads back to the toolbar.
for panel in layers more; do
  click ${!panel}
  changed_shot "$panel" toolbar || fail "$panel did not open by a tap at its centre"
  key Escape
  comes_back "after-$panel" toolbar || fail "Escape did not lead back from $panel to the toolbar"
done

click $filter
settled_shot adjust-panel || fail "the adjust panel did not settle"
click $sepia
changed_shot sepia adjust-panel || fail "Sepia changed nothing"
click $undo
comes_back undone adjust-panel identical || fail "Undo did not give back the background as it was before Sepia ($(differ undone adjust-panel))"
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
