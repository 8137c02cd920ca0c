#!/usr/bin/env bash
# The job survives a crash: home -> the album -> a photo -> done (the cut) -> drag the piece
# aside; once the job is kept, kill -9; start again -> back -> the piece lies where it was
# dragged, over the same screen, with the black hole where it was cut from.
#
#   resume_road.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
#
# With a third argument the resumed editor is kept there as resume-<device>.png.
set -euo pipefail

app=$1
device=$2
keep=${3:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

case $device in
  tablet)    points="768 1024"; album="267 971"; home_back="727 971"; first_album="150 480"; first_photo="156 500"
             picker_done="405 436"; centre="384 512"; side=200; move="150 110" ;;
  phone-480) points="320 480"; album="107 447"; home_back="247 447"; first_album="100 70"; first_photo="41 85"
             picker_done="290 21"; centre="160 240"; side=140; move="60 50" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
done_button="35 35"
job=$VIMORA_HOME/tmp/job.json
# Waits up to 20 seconds for the kept job to differ from the copy in $work/$1.
job_changed_from() {
  for _ in $(seq 100); do
    [ -f "$job" ] && ! cmp -s "$job" "$work/$1" && return 0
    sleep 0.2
  done
  return 1
}

convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" \
  -fill '#20c040' -draw "rectangle 900,700 1100,900" "$VIMORA_PHOTOS/photo.jpg"

start_app
sleep 1
open_library_photo
sleep 1
: >"$work/none"
job_changed_from none || fail "the new job was not kept"
cp "$job" "$work/job-started"

click $done_button
wait_for_file "$VIMORA_HOME/tmp/Tem.png" || fail "done wrote no Tem.png"
job_changed_from job-started || fail "the cut was not kept"
cp "$job" "$work/job-cut"
read -r cx cy <<<"$centre"
read -r dx dy <<<"$move"
drag "$cx" "$cy" "$dx" "$dy"
job_changed_from job-cut || fail "the dragged piece was not kept"
settled_shot before || fail "the editor does not settle"

# A crash: no clean-up runs.
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
pid=
start_app
sleep 1
shot home-again
click $home_back
settled_shot resumed || fail "the resumed editor does not settle"
[ -n "$keep" ] && cp "$work/resumed.png" "$keep/resume-$device.png"

half=$((side / 2))
# The piece where it was dragged: its pixels match the screen before the crash.
convert "$work/before.png" -crop "$((side - 8))x$((side - 8))+$((cx + dx - half + 4))+$((cy + dy - half + 4))" +repage "$work/piece-before.png"
convert "$work/resumed.png" -crop "$((side - 8))x$((side - 8))+$((cx + dx - half + 4))+$((cy + dy - half + 4))" +repage "$work/piece-resumed.png"
awk -v e="$(differ piece-before piece-resumed)" 'BEGIN{exit !(e < 0.02)}' \
  || fail "the piece is not back at its place ($(differ piece-before piece-resumed))"
std=$(convert "$work/piece-resumed.png" -format '%[fx:standard_deviation]' info:)
awk -v s="$std" 'BEGIN{exit !(s > 0.02)}' || fail "no piece where it was dragged (flat, deviation $std)"
# Where it was cut from: the black hole, uncovered by the drag.
hole=$(convert "$work/resumed.png" -crop "12x12+$((cx - half + 6))+$((cy - half + 6))" +repage -format '%[fx:maxima]' info:)
awk -v m="$hole" 'BEGIN{exit !(m < 0.05)}' || fail "no black hole where the piece was cut (brightest $hole)"
awk -v e="$(differ before resumed)" 'BEGIN{exit !(e < 0.01)}' || fail "the resumed editor differs from the one left ($(differ before resumed))"

# A normal quit keeps the job too; the next start offers back again.
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
wait "$pid" || fail "the application did not exit cleanly"
pid=
[ -f "$job" ] || fail "the quit did not keep the job"
[ -f "$VIMORA_HOME/tmp/Tem.png" ] && fail "the quit kept the working files"
echo "resume road on $device: ok"
