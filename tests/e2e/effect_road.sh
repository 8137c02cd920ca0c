#!/usr/bin/env bash
# The colour flow on the real binary in a virtual display: a photo from the library picker,
# the first rectangle cut, the toolbar's Color, Next (the pieces flattened into word.png),
# the Hue slider dragged and released, Done. Checks that word.png is Tem.png turned in hue:
# the same lightness, other colours; that the toolbar is back; that no resource was missing.
#
#   effect_road.sh <vimora binary> <tablet|phone-480>
set -euo pipefail

app=$1
device=$2

# Places in window points, from the screens' fixed layout: the picker as in the first road;
# the toolbar's Color button; the adjust panel's Next, Hue thumb (at 0) and Done. The panel
# opens just under the piece: at (224, 611) on the tablet, across the phone at y 310.
case $device in
  tablet)    points="768 1024"; album="267 971"; first_album="150 480"; first_photo="156 500"; picker_done="405 436"
             colour="290 984"; next="496 728"; hue="299 699"; done_step="500 864" ;;
  phone-480) points="320 480"; album="107 447"; first_album="100 70"; first_photo="41 85"; picker_done="290 21"
             colour="30 445"; next="272 427"; hue="194 332"; done_step="277 443" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
done_button="35 35"

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Strong colours in large areas, so a hue turn shows in every channel.
convert -size 1600x1200 gradient:orange-navy -fill white -draw "circle 500,400 500,600" \
  -fill '#20c040' -draw "rectangle 600,500 1100,900" "$VIMORA_PHOTOS/photo.jpg"

start_app

# What a file holds, in short (it is replaced whole, never written in place).
stamp() { md5sum "$1" 2>/dev/null | cut -d' ' -f1 || echo none; }
wait_for_change() {
  for _ in $(seq 100); do [ "$(stamp "$1")" != "$2" ] && return 0; sleep 0.1; done
  return 1
}

sleep 1
open_library_photo
sleep 1
click $done_button
wait_for_file "$VIMORA_HOME/tmp/Tem.png" || fail "done wrote no Tem.png"
sleep 1

click $colour
grep -q "cutImageZ:200" "$VIMORA_HOME/vimora.log" || fail "Color did not start the flow on the piece"
screen_shot step-one
click $next
wait_for_file "$VIMORA_HOME/tmp/word.png" || fail "Next wrote no word.png"
sleep 1
screen_shot step-two
flattened=$(stamp "$VIMORA_HOME/tmp/word.png")
convert "$VIMORA_HOME/tmp/word.png" "$work/flattened.png"

read -r hx hy <<<"$hue"
drag "$hx" "$hy" 40 0
wait_for_change "$VIMORA_HOME/tmp/word.png" "$flattened" || fail "releasing Hue wrote no new word.png"
sleep 0.5
click $done_step
settled=
for _ in $(seq 20); do
  screen_shot done
  differ done step-two | awk '{exit !($1 > 0.01)}' && { settled=1; break; }
  sleep 0.25
done
[ -n "$settled" ] || fail "Done did not close the panel"

# word.png is Tem.png turned in hue: as large, the same mean of red, green and blue (the
# gray axis the hue turns about), other colours.
tem=$VIMORA_HOME/tmp/Tem.png word=$VIMORA_HOME/tmp/word.png
[ "$(identify -format '%wx%h' "$tem")" = "$(identify -format '%wx%h' "$word")" ] \
  || fail "word.png is $(identify -format '%wx%h' "$word"), Tem.png $(identify -format '%wx%h' "$tem")"
colour_rmse=$(compare -metric RMSE "$tem" "$word" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/' || true)
convert "$tem" -grayscale Average "$work/tem-gray.png"
convert "$word" -grayscale Average "$work/word-gray.png"
gray_rmse=$(compare -metric RMSE "$work/tem-gray.png" "$work/word-gray.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/' || true)
unturned=$(compare -metric RMSE "$tem" "$work/flattened.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/' || true)
awk -v c="$colour_rmse" -v g="$gray_rmse" -v u="$unturned" 'BEGIN{exit !(c > 0.08 && g < 0.4 * c && u < 0.08)}' \
  || fail "word.png is not Tem.png turned in hue (colour RMSE $colour_rmse, lightness $gray_rmse, before the turn $unturned)"

if grep -q "missing resource:" "$VIMORA_HOME/vimora.log"; then fail "a resource was missing"; fi
kill -TERM "$pid"
wait "$pid" || fail "the application did not exit cleanly"
pid=
echo "colour flow on $device at $scale pixels per point: ok (colour RMSE $colour_rmse, lightness $gray_rmse)"
