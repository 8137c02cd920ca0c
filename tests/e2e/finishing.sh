#!/usr/bin/env bash
# The finishing tools on the real binary in a virtual display: a photo from the library picker
# is cut, and the finishing toolbar shows along the bottom with the Write and Names controls;
# Names opens the naming strip. Then Photos -> a built-in picture -> Replace opens the options
# panel, where Gradient lays the feathering buttons, the top toggle fades (the fitted mask
# reaches "s1.png" in tmp/) and OK brings the panel's controls back.
#
#   finishing.sh <vimora binary> <tablet|phone-480>
set -euo pipefail

app=$1
device=$2

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Places in points, from the screens' fixed layout (see first_road.sh for the picker's): the
# crop done button; the toolbar's Home button; the Names control and the naming strip's prefix
# field; the Photos control; the built-in panel's sunset tile; the options panel's Gradient
# button; the feathering layer's top toggle and OK (the layer fills the 4:3 preview frame).
case $device in
  tablet)    points="768 1024"; album="267 971"; first_album="150 480"; first_photo="156 500"; picker_done="405 436"
             home_button="665 989"; names="50 117"; prefix_field="264 166"; photos="65 26"; tile="403 167"
             confirm_x=450; centre_y=512; gradient="250 503"; top_toggle="460 76"; feather_ok="460 266" ;;
  phone-480) points="320 480"; album="107 447"; first_album="100 70"; first_photo="41 85"; picker_done="290 21"
             home_button="285 445"; names="50 117"; prefix_field="60 166"; photos="65 26"; tile="205 144"
             confirm_x=227; centre_y=240; gradient="76 249"; top_toggle="160 31"; feather_ok="160 118" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac

convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" "$VIMORA_PHOTOS/photo.jpg"

# The mean brightness of a w x h box at (x, y) of a screenshot.
brightness() { convert "$work/$1.png" -crop "$4x$5+$2+$3" +repage -format '%[fx:mean]' info:; }

start_app
sleep 1
open_library_photo
sleep 1
shot before-cut

# Done cuts the piece and builds the toolbar: its Home button lights the bottom of the screen.
click 35 35
wait_for_file "$VIMORA_HOME/tmp/Tem.png" || fail "done wrote no Tem.png"
sleep 1.5
shot toolbar
read -r hx hy <<<"$home_button"
awk -v b="$(brightness before-cut $((hx - 20)) $((hy - 15)) 40 30)" 'BEGIN{exit !(b < 0.05)}' || fail "something lit the toolbar's place before the cut"
awk -v b="$(brightness toolbar $((hx - 20)) $((hy - 15)) 40 30)" 'BEGIN{exit !(b > 0.08)}' || fail "no toolbar after the cut"

# Names opens the naming strip: a light prefix field appears under the side controls.
read -r fx fy <<<"$prefix_field"
click $names
sleep 0.8
shot names
awk -v b="$(brightness names $((fx - 15)) $((fy - 6)) 30 12)" 'BEGIN{exit !(b > 0.6)}' || fail "Names did not open the naming strip"
click $names
sleep 0.5

# Photos -> the sunset tile -> Replace: the options panel on the new photo.
click $photos
sleep 1
click $tile
sleep 0.8
shot question
opened=
for dy in $(seq 20 8 120); do
  click "$confirm_x" $((centre_y + dy))
  changed_shot panel question 6 && { opened=1; break; }
done
[ -n "$opened" ] || fail "no Replace button on the question"
sleep 1
shot panel

read -r tx ty <<<"$top_toggle"
click $gradient
sleep 0.8
shot feathering
same feathering panel && fail "Gradient laid no feathering buttons"
[ -f "$VIMORA_HOME/tmp/s1.png" ] && fail "s1.png before any fade"
click $top_toggle
wait_for_file "$VIMORA_HOME/tmp/s1.png" || fail "the top toggle wrote no fitted mask"
sleep 0.5
shot top
convert "$work/feathering.png" -crop "24x24+$((tx - 12))+$((ty - 12))" +repage "$work/toggle-off.png"
convert "$work/top.png" -crop "24x24+$((tx - 12))+$((ty - 12))" +repage "$work/toggle-on.png"
awk -v e="$(differ toggle-off toggle-on)" 'BEGIN{exit !(e > 0.05)}' || fail "the top toggle does not show it is on"
click $feather_ok
sleep 0.8
shot after-ok
read -r gx gy <<<"$gradient"
convert "$work/panel.png" -crop "40x20+$((gx - 20))+$((gy - 10))" +repage "$work/gradient-before.png"
convert "$work/after-ok.png" -crop "40x20+$((gx - 20))+$((gy - 10))" +repage "$work/gradient-after.png"
awk -v e="$(differ gradient-before gradient-after)" 'BEGIN{exit !(e < 0.03)}' || fail "OK did not bring the panel's controls back"
convert "$work/after-ok.png" -crop "24x24+$((tx - 12))+$((ty - 12))" +repage "$work/toggle-gone.png"
awk -v e="$(differ toggle-on toggle-gone)" 'BEGIN{exit !(e > 0.05)}' || fail "OK left the feathering buttons"

if grep -q "missing resource:" "$VIMORA_HOME/vimora.log"; then fail "a resource was missing"; fi
kill -TERM "$pid"
wait "$pid" || fail "the application did not exit cleanly"
pid=
echo "finishing tools on $device: ok"
