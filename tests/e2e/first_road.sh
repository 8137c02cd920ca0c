#!/usr/bin/env bash
# The first road on the real binary in a virtual display: home -> album -> the library picker
# (saved photos -> the photo -> Done; or "Other location..." and the file dialog, typing the
# photo's path, with VIMORA_E2E_ROUTE=dialog) -> drag the crop rectangle's corner and body -> done -> drag the
# piece aside. Checks the cut-out file Tem.png against the photo, screenshots of the piece in
# its place over an upright photo and of its black hole. Then flings the piece far past the
# photo and drags it back by the part that must stay inside, leaves for the home screen and
# comes back by its back button to the same screen, where Escape reaches the editor at once.
# Last, that no resource was missing and that a termination signal keeps the job and
# empties the rest of tmp/.
#
#   first_road.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
#
# With a third argument the home, editor and cut screenshots are kept there as
# screens-<device>-{home,editor,cut}.png, the picker's as picker-<device>-{albums,grid}.png.
# VIMORA_E2E_SCREEN (default 1280x1100) sizes the
# virtual screen; where the window is smaller than the device's screen in points, everything
# below is mapped through the window's scale, the whole screen must be visible, and the kept
# screenshot is the whole virtual screen after the cut, as screens-<device>-<screen>.png.
set -euo pipefail

app=$1
device=$2
keep=${3:-}
route=${VIMORA_E2E_ROUTE:-picker}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Every place below is in window points, from the screens' fixed layout: the album button is
# the bar's second button; the editor shows a 4:3 photo centred (650 wide on a tablet, 300 on
# a phone) with a square rectangle in its middle (200 / 140) and the done button at top left.
# The picker: its first album row, the first thumbnail of that album, its Done button and
# "Other location..." (a 320 x 480 popover above the album button on a tablet, the whole
# screen on a phone).
case $device in
  tablet)    first_album="150 480"; first_photo="156 500"; picker_done="405 436"; other="372 871" ;;
  phone-480) first_album="100 70";  first_photo="41 85";   picker_done="290 21";  other="257 457" ;;
esac
# The home bar's back button is its fourth; the editor's Back control sits at the screen's top
# right; a two-button alert has its confirming button on the right half, below the centre.
case $device in
  tablet)    points="768 1024"; album="267 971"; home_back="727 971"; editor_back="713 26"; confirm_x=450
             photo_x=59; photo_y=268.25; view_w=650; side=200; centre="384 512"; grow="60 40"; shift="-50 -60"; throw_back="-250 -250" ;;
  phone-480) points="320 480"; album="107 447"; home_back="247 447"; editor_back="265 26"; confirm_x=227
             photo_x=10; photo_y=127.5;  view_w=300; side=140; centre="160 240"; grow="40 30"; shift="-30 -40"; throw_back="-120 -100" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
done_button="35 35"

# A 1600 x 1200 photo with a gradient and a disc, so a misplaced crop shows.
photo=$VIMORA_PHOTOS/photo.jpg
convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" \
  -fill '#20c040' -draw "rectangle 900,700 1100,900" "$photo"
# An album of a few more, so the picker's list has more than the saved photos.
mkdir -p "$VIMORA_PHOTOS/Trips"
for hue in 0 60 120 180 240 300; do
  convert -size 400x300 "gradient:hsl($hue,80%,60%)-hsl($(((hue + 90) % 360)),70%,30%)" "$VIMORA_PHOTOS/Trips/trip$hue.jpg"
done

start_app

# Screenshots in points, some kept.
shot() {
  screen_shot "$1"
  if [ -n "$keep" ]; then
    if [ "$screen" = 1280x1100 ]; then
      case $1 in
        home|editor|cut) cp "$work/$1.png" "$keep/screens-$device-$1.png" ;;
        picker-*) cp "$work/$1.png" "$keep/picker-$device-${1#picker-}.png" ;;
      esac
    elif [ "$1" = cut ]; then
      import -window root "$keep/screens-$device-$screen.png"
    fi
  fi
}
# A screenshot once the screen has settled (fades and pulses over): two equal ones in a row.

sleep 1
shot home
click $album
sleep 1
shot picker-albums
xdotool search --onlyvisible --name 'Choose a photo' >/dev/null 2>&1 && fail "the album opened the file dialog, not the picker"

if [ "$route" = picker ]; then
  click $first_album
  sleep 1
  grep -q "did select" "$log" "$VIMORA_HOME/vimora.log" 2>/dev/null || fail "the album row did not open"
  click $first_photo
  shot picker-grid
  click $picker_done
else
  click $other
  open_in_photo_dialog "$photo"
fi

wait_for_file "$VIMORA_HOME/tmp/Origin.png" || fail "the editor did not open the photo"
ls "$VIMORA_HOME"/tmp/B*.jpg >/dev/null 2>&1 || fail "no working copy in tmp/"
sleep 1

read -r cx cy <<<"$centre"
read -r gx gy <<<"$grow"
read -r mx my <<<"$shift"
half=$((side / 2))
# The bottom-right handle outwards, then the rectangle's body.
drag $((cx + half)) $((cy + half)) "$gx" "$gy"
drag $((cx + (gx / 2))) $((cy + (gy / 2))) "$mx" "$my"
shot editor

click $done_button
wait_for_file "$VIMORA_HOME/tmp/Tem.png" || fail "done wrote no Tem.png"
sleep 1
shot piece

# The piece lies where the rectangle was; drag it aside to uncover its hole.
left=$((cx - half + mx)) top=$((cy - half + my))
drag $((left + half + gx / 2)) $((top + half + gy / 2)) "$half" $((half / 2))
shot cut
hole=$(convert "$work/cut.png" -crop "12x12+$((left + 6))+$((top + 6))" +repage -format '%[fx:maxima]' info:)
awk -v m="$hole" 'BEGIN{exit !(m < 0.05)}' || fail "no black hole where the piece was cut (brightest $hole)"

# Flung far past the photo's bottom right, the piece keeps a strip inside the photo (at least
# 22 points of it here): grabbed there, it comes back, its strip moving with the pointer.
read -r bx by <<<"$throw_back"
photo_r=$((photo_x + view_w)) photo_b=$(awk -v y="$photo_y" -v w="$view_w" 'BEGIN{printf "%d", y + w * 3 / 4}')
drag $((left + half + gx / 2 + half)) $((top + half + gy / 2 + half / 2)) 2000 2000
settled_shot thrown || fail "the screen does not settle after the throw"
grab_x=$((photo_r - 12)) grab_y=$((photo_b - 12))
drag "$grab_x" "$grab_y" "$bx" "$by"
settled_shot returned || fail "the screen does not settle after the drag back"
convert "$work/thrown.png" -crop "16x16+$((grab_x - 8))+$((grab_y - 8))" +repage "$work/strip-thrown.png"
convert "$work/returned.png" -crop "16x16+$((grab_x + bx - 8))+$((grab_y + by - 8))" +repage "$work/strip-returned.png"
convert "$work/returned.png" -crop "16x16+$((grab_x - 8))+$((grab_y - 8))" +repage "$work/corner-returned.png"
awk -v e="$(differ strip-thrown strip-returned)" 'BEGIN{exit !(e < 0.08)}' \
  || fail "the thrown piece did not come back with the pointer ($(differ strip-thrown strip-returned))"
awk -v e="$(differ strip-thrown corner-returned)" 'BEGIN{exit !(e > 0.02)}' \
  || fail "the photo's corner still shows the same after dragging the piece away"

# Home by the editor's Back control (a question first: a piece exists), then the home bar's
# back: the same screen, and Escape reaches the editor with no tap first.
click $editor_back
changed_shot leave-question returned || fail "the editor's Back control did not ask"
settled_shot leave-question || fail "the question does not settle"
read -r _ qy <<<"$centre"
left_editor=
for dy in $(seq 20 8 120); do
  click "$confirm_x" $((qy + dy))
  changed_shot at-home leave-question 6 && { left_editor=1; break; }
done
[ -n "$left_editor" ] || fail "no Leave button on the question"
settled_shot at-home || fail "the home screen does not settle"
same at-home returned && fail "Leave did not go to the home screen"
click $home_back
settled_shot resumed || fail "the resumed editor does not settle"
same resumed returned || fail "back did not bring the job back as it was left ($(differ resumed returned))"
key Escape
changed_shot escape-question resumed || fail "Escape did not reach the resumed editor"

# The rectangle after the drags, in photo-view points, then in the working copy's pixels
# (the photo reduced to the device's working size).
working=$(ls "$VIMORA_HOME"/tmp/B*.jpg | head -1)
working_w=$(identify -format '%w' "$working")
read -r ex ey ew eh <<<"$(awk -v cx="$cx" -v cy="$cy" -v h="$half" -v gx="$gx" -v gy="$gy" -v mx="$mx" -v my="$my" \
  -v px="$photo_x" -v py="$photo_y" -v vw="$view_w" -v ww="$working_w" 'BEGIN{
    s = ww / vw
    x = cx - h + mx - px; y = cy - h + my - py
    printf "%d %d %d %d", x*s, y*s, (2*h+gx)*s, (2*h+gy)*s }')"
read -r tw th <<<"$(identify -format '%w %h' "$VIMORA_HOME/tmp/Tem.png")"
# The pointer lands on whole window pixels: each drag may be off by one, in working pixels.
slack=$(awk -v ww="$working_w" -v vw="$view_w" -v s="$scale" 'BEGIN{t = 2 * ww / vw / s; printf "%d", (t > 2 ? t + 0.999 : 2)}')
[ $((tw - ew)) -ge -"$slack" ] && [ $((tw - ew)) -le "$slack" ] && [ $((th - eh)) -ge -"$slack" ] && [ $((th - eh)) -le "$slack" ] \
  || fail "Tem.png is ${tw}x${th}, expected about ${ew}x${eh}"
# The piece holds the photo's pixels from that place (JPEG and resampling noise allowed).
convert "$working" -crop "${tw}x${th}+${ex}+${ey}" +repage "$work/expected.png"
rmse=$(compare -metric RMSE "$VIMORA_HOME/tmp/Tem.png" "$work/expected.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/' || true)
awk -v e="$rmse" 'BEGIN{exit !(e < 0.05)}' || fail "Tem.png does not match the photo at ($ex, $ey): RMSE $rmse"

# Right after the cut the piece covers its place: not black there, and not a blank screen.
std=$(convert "$work/piece.png" -format '%[fx:standard_deviation]' info:)
awk -v s="$std" 'BEGIN{exit !(s > 0.05)}' || fail "the cut screenshot is blank"
piece=$(convert "$work/piece.png" -crop "20x20+$((cx + mx))+$((cy + my))" +repage -format '%[fx:mean]' info:)
awk -v m="$piece" 'BEGIN{exit !(m > 0.1)}' || fail "the screenshot is dark where the piece lies (mean $piece)"

# The photo around the piece stays upright: its top edge is the gradient's orange end.
top_colour=$(convert "$work/piece.png" -crop "10x10+$(awk -v x="$photo_x" 'BEGIN{printf "%d", x+20}')+$(awk -v y="$photo_y" 'BEGIN{printf "%d", y+8}')" +repage \
  -format '%[fx:mean.r] %[fx:mean.b]' info:)
read -r top_red top_blue <<<"$top_colour"
awk -v r="$top_red" -v b="$top_blue" 'BEGIN{exit !(r > 0.6 && b < 0.4)}' \
  || fail "the photo around the piece is not upright (top edge red $top_red, blue $top_blue)"

if grep -q "missing resource:" "$VIMORA_HOME/vimora.log"; then fail "a resource was missing"; fi

kill -TERM "$pid"
wait "$pid" || fail "the application did not exit cleanly"
pid=
# The job stays for the next start; the working files go.
[ -f "$VIMORA_HOME/tmp/job.json" ] || fail "the job was not kept at termination"
remaining=$(ls -A "$VIMORA_HOME/tmp" | grep -v -e '^job' -e '^[BD][0-9]*\.jpg$' || true)
[ -z "$remaining" ] || fail "tmp/ not emptied at termination: $remaining"
echo "first road on $device through the $route in a $screen screen at $scale pixels per point: ok (Tem.png ${tw}x${th})"
