#!/usr/bin/env bash
set -euo pipefail
app=$1; device=tablet; out=$2
source "$(dirname "$0")/session.sh"
points="768 1024"; album="267 971"; first_album="150 480"; first_photo="156 500"; picker_done="405 436"
convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" "$VIMORA_PHOTOS/photo.jpg"
start_app; sleep 1
open_library_photo; sleep 1
shot crop; cp $work/crop.png $out/
click 35 35; sleep 1.5
shot cut; cp $work/cut.png $out/
key ctrl+r 1.5
import -window root $out/turned-root.png
eval "$(xdotool getwindowgeometry --shell "$wid")"; echo "turned window $WIDTH x $HEIGHT"
key ctrl+r 1.5
import -window root $out/back-root.png
eval "$(xdotool getwindowgeometry --shell "$wid")"; echo "back window $WIDTH x $HEIGHT"
