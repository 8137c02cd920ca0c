#!/usr/bin/env bash
# Saving a cut on the real binary in a virtual display: home -> album -> the library picker ->
# the photo -> done (the cut) -> the toolbar's Save -> "High". The picture must then be in the
# album folder $VIMORA_PHOTOS/Quorlan/ (a link to the library's new file) at the photo's full
# working size, the photo itself (the lifted piece's shadow and outline are not saved), and the
# user told "Saved in Quorlan" only then. Then Frame -> Gradient -> the top toggle -> OK -> OK
# and Save -> "High" again: the second picture fades towards its top and bottom edges. With a
# third argument the screen after the save is kept there as save-<device>.png.
#
#   save_road.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
set -euo pipefail

app=$1
device=$2
keep=${3:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Points from the screens' fixed layout: the home bar's album button, the picker's first
# album row, first thumbnail and Done; the crop done button; the finishing toolbar's Save
# (its frame in the bar at the bottom of the screen); the screen's centre, where alerts sit.
case $device in
  tablet)    points="768 1024"; album="267 971"; first_album="150 480"; first_photo="156 500"; picker_done="405 436"
             save="565 989"; centre="384 512"
             frame="718 72"; gradient="250 503"; top_toggle="460 76"; feather_ok="460 266"; options_ok="690 600" ;;
  phone-480) points="320 480"; album="107 447"; first_album="100 70"; first_photo="41 85"; picker_done="290 21"
             save="225 445"; centre="160 240"
             frame="270 72"; gradient="76 249"; top_toggle="160 31"; feather_ok="160 118"; options_ok="160 377" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
done_button="35 35"

convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" "$VIMORA_PHOTOS/photo.jpg"

start_app

sleep 1
open_library_photo
sleep 1
click $done_button
wait_for '[ -f "$VIMORA_HOME/tmp/Tem.png" ]' || fail "done wrote no Tem.png"
sleep 1.5
screen_shot toolbar

click $save
changed_shot choice toolbar || fail "Save did not ask for the quality"
sleep 0.5
screen_shot choice
# The choice stacks its buttons under the message, "High" first: going down from above the
# alert, the first click that changes the screen is on "High".
read -r cx cy <<<"$centre"
chosen=
for dy in $(seq -150 6 0); do
  click "$cx" $((cy + dy))
  if changed_shot after-choice choice 2; then chosen=1; high_dy=$dy; break; fi
done
[ -n "$chosen" ] || fail "no High button on the quality choice"

album_dir=$VIMORA_PHOTOS/Quorlan
wait_for 'ls "$album_dir"/*.png >/dev/null 2>&1' || fail "nothing was saved into $album_dir"
wait_for 'grep -q "success!" "$VIMORA_HOME/vimora.log"' || fail "the save did not complete"
saved=$(ls "$album_dir"/*.png | head -1)
[ "$(ls "$album_dir" | wc -l)" -eq 1 ] || fail "more than one picture in the album: $(ls "$album_dir")"
[ -L "$saved" ] || fail "the album entry is not a link to the library's picture"
[ -f "$VIMORA_PHOTOS/$(basename "$(readlink "$saved")")" ] || fail "the album's link does not lead into the library"
working=$(ls "$VIMORA_HOME"/tmp/B*.jpg | head -1)
expected=$(identify -format '%wx%h' "$working")
got=$(identify -format '%wx%h' "$saved")
[ "$got" = "$expected" ] || fail "High saved ${got}, the photo is ${expected}"
# The picture shows the photo: its top left is the gradient's orange end.
top=$(convert "$saved" -crop 20x20+10+10 +repage -format '%[fx:mean.r] %[fx:mean.b]' info:)
read -r red blue <<<"$top"
awk -v r="$red" -v b="$blue" 'BEGIN{exit !(r > 0.6 && b < 0.4)}' || fail "the saved picture is not the photo (top left red $red, blue $blue)"

# Where nothing changed the picture is the photo: the piece lies over its hole, and neither its
# shadow nor its outline is saved (a few pixels of resampling at the piece's edge at most).
differing=$(compare -metric AE -fuzz 4% "$saved" "$working" null: 2>&1 | sed 's/ .*//' || true)
awk -v d="$differing" 'BEGIN{exit !(d + 0 < 200)}' || fail "the High save differs from the photo in $differing pixels"

sleep 1
screen_shot saved
if [ -n "$keep" ]; then cp "$work/saved.png" "$keep/save-$device.png"; cp "$work/choice.png" "$keep/save-$device-choice.png"; cp "$work/toolbar.png" "$keep/save-$device-toolbar.png"; fi
if grep -q "Big error" "$VIMORA_HOME/vimora.log"; then fail "the save logged an error"; fi

# Clicks down the alert on screen until one answers it (the screen changes).
answer_alert() {
  local before=$1 x y
  read -r x y <<<"$centre"
  for dy in $(seq "$2" 6 "$3"); do
    click "$x" $((y + dy))
    if changed_shot "$before-answered" "$before" 2; then return 0; fi
  done
  return 1
}
screen_shot notice
answer_alert notice 10 90 || fail "the saved notice could not be closed"
sleep 0.5

# The Frame panel: the top and bottom fade, OK on the feathering, OK on the panel.
click $frame
sleep 1
click $gradient
sleep 0.8
click $top_toggle
wait_for_file "$VIMORA_HOME/tmp/s1.png" || fail "the top toggle wrote no fitted mask"
sleep 0.5
click $feather_ok
sleep 0.8
screen_shot framing
click $options_ok
changed_shot framed framing || fail "the Frame panel's OK did nothing"
sleep 1
click $save
changed_shot choice2 framed || fail "Save did not ask for the quality after framing"
sleep 0.5
screen_shot choice2
# The same choice as before: "High" is where the first search found it, else searched again.
click "$cx" $((cy + high_dy))
if ! changed_shot after-choice2 choice2 4; then
  chosen=
  for dy in $(seq -150 6 0); do
    click "$cx" $((cy + dy))
    if changed_shot after-choice2 choice2 2; then chosen=1; break; fi
  done
  [ -n "$chosen" ] || fail "no High button on the second quality choice"
fi
wait_for '[ "$(ls "$album_dir" | wc -l)" -ge 2 ]' || fail "the framed picture was not saved"
wait_for '[ "$(grep -c "success!" "$VIMORA_HOME/vimora.log")" -ge 2 ]' || fail "the second save did not complete"
framed=$(ls -t "$album_dir"/*.png | head -1)
band() { convert "$1" -gravity "$2" -crop 100%x3%+0+0 +repage -format '%[fx:mean]' info:; }
middle() { convert "$1" -gravity center -crop 100%x10%+0+0 +repage -format '%[fx:mean]' info:; }
awk -v a="$(band "$framed" north)" -v b="$(band "$saved" north)" 'BEGIN{exit !(a < b * 0.6)}' \
  || fail "the saved picture does not fade at its top ($(band "$framed" north) against $(band "$saved" north))"
awk -v a="$(band "$framed" south)" -v b="$(band "$saved" south)" 'BEGIN{exit !(a < b * 0.6 + 0.01)}' \
  || fail "the saved picture does not fade at its bottom"
awk -v a="$(middle "$framed")" -v b="$(middle "$saved")" 'BEGIN{d = a - b; if (d < 0) d = -d; exit !(d < 0.05)}' \
  || fail "the framed picture's middle is not the picture's ($(middle "$framed") against $(middle "$saved"))"

kill -TERM "$pid"
wait "$pid" || fail "the application did not exit cleanly"
pid=
echo "save road on $device: ok ($saved, $got; framed $framed)"
