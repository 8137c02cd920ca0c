#!/usr/bin/env bash
# A turned tablet, in the real window: home -> the album -> a photo -> done (the cut) -> Ctrl+R:
# the window takes the landscape screen's best fit and Back sits at the turned screen's top
# right; Ctrl+R again: portrait, Back at the top right again.
#
#   turn_road.sh <vimora binary> [folder for screenshots]
#
# With a second argument the turned editor is kept there (docs/editor-turned-tablet.png).
set -euo pipefail

app=$1
device=tablet
keep=${2:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

points="768 1024"; album="267 971"; first_album="150 480"; first_photo="156 500"; picker_done="405 436"
convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" "$VIMORA_PHOTOS/photo.jpg"

start_app
sleep 1
open_library_photo
sleep 1
click 35 35
wait_for_file "$VIMORA_HOME/tmp/Tem.png" || fail "done wrote no Tem.png"

# Whether the shot's pixel at x,y (points) is a bar button's blue, not the black around it.
blue_at() {
  local rgb
  rgb=$(convert "$work/$1.png" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:)
  read -r r g b <<<"$rgb"
  [ "$b" -gt 150 ] && [ "$b" -gt "$r" ]
}
# Back (its right end, clear of its title): 90 points wide, 10 from the right edge, 6 from the top.
turned_to() {
  points=$1
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  read -r pw ph <<<"$points"
  read -r scale off_x off_y shown_w shown_h <<<"$(awk -v w="$WIDTH" -v h="$HEIGHT" -v pw="$pw" -v ph="$ph" 'BEGIN{
    s = w / pw; if (h / ph < s) s = h / ph
    printf "%.6f %.3f %.3f %d %d", s, (w - pw * s) / 2, (h - ph * s) / 2, pw * s + 0.5, ph * s + 0.5 }')"
  # The best fit leaves no letterbox beyond rounding.
  awk -v a="$off_x" -v b="$off_y" 'BEGIN{exit !(a < 3 && b < 3)}' || fail "the ${points% *}-wide screen sits in a letterbox ($off_x, $off_y)"
}

key ctrl+r 1.5
turned_to "1024 768"
settled_shot turned || fail "the turned editor does not settle"
blue_at turned $((1024 - 22)) 26 || fail "Back is not at the turned screen's top right"
blue_at turned $((1024 - 22)) 72 || fail "Frame is not under Back on the turned screen"
[ -z "$keep" ] || cp "$work/turned.png" "$keep/editor-turned-tablet.png"

key ctrl+r 1.5
turned_to "768 1024"
settled_shot upright || fail "the editor turned back does not settle"
blue_at upright $((768 - 22)) 26 || fail "Back is not at the top right after turning back"
blue_at upright $((768 - 22)) 72 || fail "Frame is not under Back after turning back"
echo "turn road passed"
