#!/usr/bin/env bash
# Each screen keeps its own views, in the real window: home -> the album -> a photo -> done
# (the cut) -> the toolbar's Home -> Saved -> a saved picture -> Edit (the compositor's
# toolbar) -> Exit -> back: the editor is as it was left, its own toolbar and nothing of the
# compositor's.
#
#   screens_apart_road.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
#
# With a third argument the editor before and after are kept there.
set -euo pipefail

app=$1
device=$2
keep=${3:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Points from the layouts: the home's album and back buttons, the library picker, the crop's
# done button, the piece, the editor toolbar's Home, the home's Saved control, the first saved picture
# in the option panel, the option bar's Edit and the compositor toolbar's Exit.
case $device in
  tablet)    points="768 1024"; album="267 971"; home_back="727 971"; first_album="150 480"; first_photo="156 500"
             picker_done="405 436"; home_button="665 989"; first="40 640"; exit_button="690 30"; centre="384 512" ;;
  phone-480) points="320 480"; album="107 447"; home_back="247 447"; first_album="100 70"; first_photo="41 85"
             picker_done="290 21"; home_button="285 445"; first="40 270"; exit_button="270 30"; centre="160 240" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
done_button="35 35"
saved="285 26"
edit="150 120"
convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" \
  -fill '#20c040' -draw "rectangle 900,700 1100,900" "$VIMORA_PHOTOS/photo.jpg"
mkdir -p "$VIMORA_HOME/Documents/drawImgs"
convert -size 2048x1536 gradient:teal-maroon -quality 95 "$VIMORA_HOME/Documents/drawImgs/D1234.jpg"

start_app
sleep 1
open_library_photo
sleep 1
click $done_button
wait_for_file "$VIMORA_HOME/tmp/Tem.png" || fail "done wrote no Tem.png"
# A first drag of the piece puts its hint away, which Home would take with it.
read -r cx cy <<<"$centre"
drag "$cx" "$cy" 30 20
settled_shot editor || fail "the editor does not settle"

click $home_button
settled_shot home || fail "the home screen does not settle"
same home editor && fail "Home did not leave the editor"
click $saved
sleep 0.5
click $first
sleep 1
shot option-bar
same option-bar home && fail "the saved picture did not open in the compositor"
click $edit
settled_shot compositor || fail "the compositor does not settle"
same compositor option-bar && fail "Edit did not open the compositor's toolbar"
click $exit_button
settled_shot home-again || fail "the home screen does not settle after Exit"
same home-again compositor && fail "Exit did not leave the compositor"

click $home_back
settled_shot resumed || fail "the resumed editor does not settle"
if [ -n "$keep" ]; then
  cp "$work/editor.png" "$keep/screens-apart-$device-editor.png"
  cp "$work/resumed.png" "$keep/screens-apart-$device-resumed.png"
fi
same resumed editor || fail "back shows another screen than the editor as it was left (RMSE $(differ resumed editor))"
echo "the editor came back as it was left on $device"
