#!/usr/bin/env bash
# The smart cut on the real binary in a virtual display: home -> album -> the library picker ->
# the photo -> Smart cut (the rectangle laid in the middle holds the subject) -> drag the piece
# aside. The cut-out file Tem.png must be the subject alone (its corners transparent), the hole
# on screen the subject's shape (black where the subject was, the photo around it inside the
# rectangle), and Save -> "High" must hold the shaped piece where it was dragged.
#
#   smart_cut_road.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
set -euo pipefail

app=$1
device=$2
keep=${3:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Points from the screens' fixed layout (see first_road.sh): the 4:3 photo centred, 650 points
# wide on a tablet and 300 on a phone, the rectangle square in its middle (200 / 140); Smart
# cut beside the done button; the toolbar's Save; the shift moves the piece clear of its hole
# (on a phone sideways only, so its top right corner stays on the photo).
case $device in
  tablet)    points="768 1024"; album="267 971"; first_album="150 480"; first_photo="156 500"; picker_done="405 436"
             save="565 989"; centre_x=384; centre_y=512; view_w=650; half=100; shift_x=-150; shift_y=-150 ;;
  phone-480) points="320 480"; album="107 447"; first_album="100 70"; first_photo="41 85"; picker_done="290 21"
             save="225 445"; centre_x=160; centre_y=240; view_w=300; half=70; shift_x=-90; shift_y=0 ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
smart_cut="123 35"

# A photo-like picture: a grained orange ball (radius 220) on a mottled green ground (a
# gradient with soft darker blotches and grain).
convert -size 1600x1200 gradient:'#3f8a45-#2c5e33' \
  -fill '#23502a' -draw "ellipse 300,250 180,90 0,360" -draw "ellipse 1300,900 220,120 0,360" \
  -fill '#5a9a55' -draw "ellipse 1250,300 160,100 0,360" -draw "ellipse 350,950 200,110 0,360" -blur 0x25 \
  -fill '#e0702a' -draw "circle 800,600 1020,600" \
  -seed 3 -attenuate 0.5 +noise Gaussian "$VIMORA_PHOTOS/photo.jpg"

start_app
sleep 1
open_library_photo
sleep 1
click $smart_cut
wait_for '[ -f "$VIMORA_HOME/tmp/Tem.png" ]' || fail "the smart cut wrote no Tem.png"
sleep 1

# The piece is the subject: opaque in the middle, transparent at the rectangle's corners.
tem=$VIMORA_HOME/tmp/Tem.png
alpha() { convert "$1" -crop "5x5+$2+$3" +repage -alpha extract -format '%[fx:mean]' info:; }
read -r tw th <<<"$(identify -format '%w %h' "$tem")"
awk -v a="$(alpha "$tem" 4 4)" 'BEGIN{exit !(a < 0.05)}' || fail "the piece's corner is not transparent"
awk -v a="$(alpha "$tem" $((tw - 9)) $((th - 9)))" 'BEGIN{exit !(a < 0.05)}' || fail "the piece's far corner is not transparent"
awk -v a="$(alpha "$tem" $((tw / 2)) $((th / 2)))" 'BEGIN{exit !(a > 0.95)}' || fail "the piece's middle is not the subject"

drag $centre_x $centre_y $shift_x $shift_y
sleep 1
screen_shot moved
if [ -n "$keep" ]; then cp "$work/moved.png" "$keep/smart-cut-$device.png"; fi

# On screen: black where the subject was, the photo (not black) in the rectangle's corner.
mean() { convert "$1" -crop "5x5+$(($2 - 2))+$(($3 - 2))" +repage -format '%[fx:mean]' info:; }
awk -v m="$(mean "$work/moved.png" $centre_x $centre_y)" 'BEGIN{exit !(m < 0.08)}' || fail "no hole where the subject was"
corner_x=$((centre_x + half - 8)); corner_y=$((centre_y + half - 8))
awk -v m="$(mean "$work/moved.png" $corner_x $corner_y)" 'BEGIN{exit !(m > 0.2)}' || fail "the hole is the rectangle, not the subject"

# Save -> "High": the first click down the alert that changes the screen.
click $save
sleep 1
screen_shot choice
chosen=
for dy in $(seq -150 6 0); do
  click $centre_x $((centre_y + dy))
  if changed_shot after-choice choice 2; then chosen=1; break; fi
done
[ -n "$chosen" ] || fail "no High button on the quality choice"
album_dir=$VIMORA_PHOTOS/Quorlan
wait_for 'ls "$album_dir"/*.png >/dev/null 2>&1' || fail "nothing was saved into $album_dir"
wait_for 'grep -q "success!" "$VIMORA_HOME/vimora.log"' || fail "the save did not complete"
saved=$(ls "$album_dir"/*.png | head -1)

# In the saved picture (photo pixels): the hole at the photo's centre, the subject where the
# piece was dragged, and at its top right corner, inside its frame but off its subject, the ground.
read -r sw sh <<<"$(identify -format '%w %h' "$saved")"
px=$(awk -v w="$sw" -v v="$view_w" 'BEGIN{print w / v}')
at_photo() { awk -v c="$1" -v d="$2" -v p="$px" 'BEGIN{printf "%d", c + d * p}'; }
colour() { convert "$saved" -crop "9x9+$(($1 - 4))+$(($2 - 4))" +repage -format '%[fx:mean.r] %[fx:mean.g]' info:; }
read -r r g <<<"$(colour $((sw / 2)) $((sh / 2)))"
awk -v r="$r" -v g="$g" 'BEGIN{exit !(r < 0.1 && g < 0.1)}' || fail "the saved picture has no hole at the centre ($r $g)"
moved_x=$(at_photo $((sw / 2)) $shift_x); moved_y=$(at_photo $((sh / 2)) $shift_y)
read -r r g <<<"$(colour "$moved_x" "$moved_y")"
awk -v r="$r" -v g="$g" 'BEGIN{exit !(r > 0.6 && g < 0.6)}' || fail "the saved picture lacks the subject where it was dragged ($r $g)"
read -r r g <<<"$(colour "$(at_photo "$moved_x" $((half - 8)))" "$(at_photo "$moved_y" $((8 - half)))")"
awk -v r="$r" -v g="$g" 'BEGIN{exit !(g > r)}' || fail "the saved piece is a rectangle, not the subject ($r $g)"

if [ -n "$keep" ]; then cp "$saved" "$keep/smart-cut-$device-saved.png"; fi
kill -TERM "$pid"
wait "$pid" || fail "the application did not exit cleanly"
pid=
echo "smart cut road on $device: ok ($saved)"
