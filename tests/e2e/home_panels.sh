#!/usr/bin/env bash
# The home screen's panels on the real binary in a virtual display: Help closes by Escape and
# by a tap outside it, the Guide list opens a page in the in-app reader, which Escape closes
# back to the list and the list back to the home screen as it was. A photo cut short asks before it opens and
# opens on Continue. Then Ctrl+Q quits with the clean-up, and the internal lines went to the
# log file, not to the terminal.
#
#   home_panels.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
#
# With a third argument the reader's screenshot is kept there as guide-reader-<device>.png.
set -euo pipefail

app=$1
device=$2
keep=${3:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Points from the home screen's layout: Help at the top left, Guide the bar's third
# button; the Guide list's first row (a popover above the bar on a tablet, a card on a phone)
# and a point outside every panel.
case $device in
  tablet)    points="768 1024"; help="125 26"; guide="497 971"; first_row="440 560"; outside="700 700"; album="267 971"; other="372 871"; continue="450 562" ;;
  phone-480) points="320 480"; help="125 26"; guide="177 447"; first_row="160 150"; outside="300 470"; album="107 447"; other="257 457"; continue="227 291" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac

# A photo whose file ends early: it still decodes, grey where the data is missing.
convert -size 1600x1200 gradient:orange-navy "$work/whole.jpg"
head -c 60000 "$work/whole.jpg" >"$VIMORA_PHOTOS/cut-short.jpg"

# A working file left from an earlier job: quitting must clear it.
mkdir -p "$VIMORA_HOME/tmp"
echo x >"$VIMORA_HOME/tmp/Tem.png"

start_app


# The home screen once it has settled: two equal, non-blank screenshots in a row.
shot home
for _ in $(seq 30); do
  sleep 0.5
  mv "$work/home.png" "$work/before.png"
  shot home
  std=$(convert "$work/home.png" -format '%[fx:standard_deviation]' info:)
  same home before && awk -v s="$std" 'BEGIN{exit !(s > 0.05)}' && break
done

click $help
shot help
same help home && fail "Help did not open"
key Escape 0.8
shot after-help-escape
same after-help-escape home || fail "Escape did not close Help ($(differ after-help-escape home))"

click $help
click $outside
shot after-help-tap
same after-help-tap home || fail "a tap outside did not close Help ($(differ after-help-tap home))"

click $guide
shot guide
same guide home && fail "Guide did not open its list"
click $first_row
shot reader
same reader guide && fail "the first row did not open the guide page"
[ -z "$keep" ] || cp "$work/reader.png" "$keep/guide-reader-$device.png"
# The reader shows the page's dark ground over most of the screen.
dark=$(convert "$work/reader.png" -gravity south -crop 70%x30%+0+20 +repage -format '%[fx:mean]' info:)
awk -v m="$dark" 'BEGIN{exit !(m < 0.35)}' || fail "the reader does not show a page (mean $dark)"
# Escape goes back one step at a time: the page to the list, the list to the home screen.
key Escape 0.8
shot after-reader
same after-reader guide || fail "Escape did not close the reader back to the Guide list ($(differ after-reader guide))"
key Escape 0.8
shot after-list
same after-list home || fail "Escape did not close the Guide list ($(differ after-list home))"

click $album
sleep 1
# The album opens the library picker; the dialog is behind "Other location...".
click $other
open_in_photo_dialog "$VIMORA_PHOTOS/cut-short.jpg"
sleep 1.5
grep -q "cut-short.jpg ends early" "$VIMORA_HOME/vimora.log" || fail "the photo cut short was not noticed"
[ -f "$VIMORA_HOME/tmp/Origin.png" ] && fail "the photo cut short opened without asking"
shot notice
same notice home && fail "no notice over the photo cut short"
click $continue
for _ in $(seq 50); do [ -f "$VIMORA_HOME/tmp/Origin.png" ] && break; sleep 0.2; done
[ -f "$VIMORA_HOME/tmp/Origin.png" ] || fail "Continue did not open the photo cut short"

key ctrl+q 0.8
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not quit"
wait "$pid" || fail "the application did not exit cleanly"
pid=
# The job stays for the next start; the working files go.
[ -f "$VIMORA_HOME/tmp/job.json" ] || fail "the job was not kept on Ctrl+Q"
remaining=$(ls -A "$VIMORA_HOME/tmp" | grep -v -e '^job' -e '^[BD][0-9]*\.jpg$' || true)
[ -z "$remaining" ] || fail "tmp/ not emptied on Ctrl+Q: $remaining"

grep -q "statusBarOrientation: portrait" "$VIMORA_HOME/vimora.log" || fail "no internal lines in the log file"
if grep -q "typeStr:\|statusBarOrientation" "$log"; then fail "internal lines reached the terminal"; fi
if grep -q "missing resource:" "$VIMORA_HOME/vimora.log"; then fail "a resource was missing"; fi
echo "home panels on $device: ok"
