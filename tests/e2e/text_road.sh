#!/usr/bin/env bash
# The text road on the real binary in a virtual display: a photo from the library picker ->
# the cut -> Write -> the tips' "Never show this" -> type into the text box ->
# Done -> a colour from the palette -> the rotation slider -> the panel's "O". The photo must
# show while typing, and the new layer on the photo, in the picked colour and turned; Save ->
# "High" must then write the layer's colour into the saved picture. Names -> type -> Return
# must open nothing. Then a tap on the layer
# opens the edit panel, and the text bar's Words opens the catalogue.
#
#   text_road.sh <vimora binary> <tablet|phone-480> [folder for screenshots]
#
# With a third argument the screenshots of the text box, the edit panel and the catalogue
# are kept there as text-<device>-{box,edit,catalogue}.png.
set -euo pipefail

app=$1
device=$2
keep=${3:-}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

# Window points from the screens' fixed layout: the picker (as in first_road.sh), the crop
# done button, the editor's Write control, the tips' "Never show this", the text box, the
# bar's Done and Words, the palette, the rotation slider's thumb at 0, the panel's "O"; the
# toolbar's Save and the screen's centre, where alerts sit.
case $device in
  tablet)    points="768 1024"; album="267 971"; first_album="150 480"; first_photo="156 500"; picker_done="405 436"
             text_button="50 72"; never="214 610"; box="384 287"; done_text="225 25"; words="330 25"
             palette="275 824"; thumb="300 984"; turn=45; ok="475 984"; edit_close="475 739"
             red_area="640x430+64+274"; layer_area="640x470+64+274"
             save="565 989"; centre="384 512"; prefix="284 167" ;;
  phone-480) points="320 480"; album="107 447"; first_album="100 70"; first_photo="41 85"; picker_done="290 21"
             text_button="50 72"; never="90 362"; box="175 195"; done_text="135 25"; words="200 25"
             palette="65 270"; thumb="90 435"; turn=35; ok="265 430"; edit_close="265 185"
             red_area="292x26+14+132"; layer_area="292x216+14+132"
             save="225 445"; centre="160 240"; prefix="60 167" ;;
  *) echo "unknown device $device" >&2; exit 2 ;;
esac
done_button="35 35"
names_button="50 117"
# The text must land on the photo: its reds (above the colour panel) and recoloured pixels
# are counted there.
photo_area=$layer_area

photo=$VIMORA_PHOTOS/photo.jpg
convert -size 1600x1200 gradient:skyblue-navy "$photo"

start_app

shot() {
  screen_shot "$1"
  if [ -n "$keep" ]; then
    case $1 in
      box|edit|catalogue) cp "$work/$1.png" "$keep/text-$device-$1.png" ;;
    esac
  fi
}
# How many pixels of a screenshot's area are strongly red, or of a strong colour that is
# neither red nor the photo's blues (ImageMagick's hue, saturation and lightness run 0..1);
# the panels are grey.
strong="(saturation > 0.5 && lightness > 0.2 && lightness < 0.85)"
red_hue="(hue < 0.04 || hue > 0.96)"
blue_hue="(hue > 0.45 && hue < 0.75)"
count_colour() {
  local rule
  case $3 in
    red) rule="$strong && $red_hue" ;;
    other) rule="$strong && !$red_hue && !$blue_hue" ;;
  esac
  convert "$work/$1.png" -crop "$2" +repage -fx "($rule) ? 1 : 0" -format '%[fx:round(mean*w*h)]' info:
}
# The height of the box around the red pixels of the red_area ("red") or the coloured ones
# (neither red nor blue) of the layer_area (any other shot).
rows() {
  local area=$layer_area rule="$strong && !$red_hue && !$blue_hue"
  [ "$1" = red ] && area=$red_area rule="$strong && $red_hue"
  convert "$work/$1.png" -crop "$area" +repage -fx "($rule) ? 1 : 0" -trim -format %h info: 2>/dev/null || echo 0
}

sleep 1
open_library_photo
sleep 1
click $done_button
wait_for_file "$VIMORA_HOME/tmp/Tem.png" || fail "done wrote no Tem.png"
sleep 1.5
shot piece

click $text_button
sleep 1.5
click $never
sleep 0.5
click $box
sleep 0.3
xdotool type --delay 40 "Vimora"
sleep 0.5
shot box
# The photo stays in sight while typing: its blues fill most of the photo's area.
blue_seen=$(convert "$work/box.png" -crop "$photo_area" +repage -fx "(saturation > 0.4 && hue > 0.5 && hue < 0.75) ? 1 : 0" -format '%[fx:mean]' info:)
awk -v b="$blue_seen" 'BEGIN{exit !(b > 0.3)}' || fail "the photo is hidden while typing (blue share $blue_seen)"
click $done_text
sleep 1.5
shot red
[ "$(count_colour red "$red_area" red)" -gt 40 ] || fail "no red text layer after Done"

click $palette
sleep 0.5
grep -q "inside cutImgView" "$VIMORA_HOME/vimora.log" || fail "the palette recoloured no layer"
read -r tx ty <<<"$thumb"
drag "$tx" "$ty" "$turn" 0
sleep 0.5
click $ok
sleep 2
shot text
[ "$(count_colour text "$layer_area" red)" -lt 20 ] || fail "the layer is still red after the palette"
[ "$(count_colour text "$layer_area" other)" -gt 40 ] || fail "no recoloured layer over the photo"
# Turned: the layer's coloured pixels span more rows than the straight red text did.
straight=$(rows red)
turned=$(rows text)
[ "$turned" -gt "$straight" ] || fail "the layer did not turn ($straight rows straight, $turned turned)"

# Save -> "High": the recoloured layer is in the saved picture.
screen_shot toolbar
click $save
changed_shot choice toolbar || fail "Save did not ask for the quality"
sleep 0.5
screen_shot choice
read -r cx cy <<<"$centre"
chosen=
for dy in $(seq -150 6 0); do
  click "$cx" $((cy + dy))
  if changed_shot after-choice choice 2; then chosen=1; break; fi
done
[ -n "$chosen" ] || fail "no High button on the quality choice"
wait_for 'ls "$VIMORA_PHOTOS"/Quorlan/*.png >/dev/null 2>&1' || fail "nothing was saved"
wait_for 'grep -q "success!" "$VIMORA_HOME/vimora.log"' || fail "the save did not complete"
saved=$(ls "$VIMORA_PHOTOS"/Quorlan/*.png | head -1)
in_saved=$(convert "$saved" -fx "($strong && !$red_hue && !$blue_hue) ? 1 : 0" -format '%[fx:round(mean*w*h)]' info:)
[ "$in_saved" -gt 100 ] || fail "the text is not in the saved picture ($in_saved coloured pixels)"
# The "Saved" message's OK lies under its text: going down from the centre, the first click
# that changes the screen.
sleep 1
screen_shot told
for dy in $(seq 0 6 150); do
  click "$cx" $((cy + dy))
  if changed_shot after-told told 2; then break; fi
done

# Names -> a prefix typed -> Return: the names follow and no other panel opens.
click $names_button
sleep 0.5
click $prefix
xdotool type --delay 40 "Trip"
sleep 0.5
screen_shot typed
key Return 1
screen_shot returned
grep -q "End Edit Text:Trip" "$VIMORA_HOME/vimora.log" || fail "Return did not end the prefix's edit"
same returned typed || fail "Return in the name field opened something (difference $(differ returned typed))"
click $names_button
sleep 0.5

# A tap on the layer opens the edit panel; then the catalogue from the text bar.
if [ -n "$keep" ]; then
  read -r lx ly <<<"$(convert "$work/text.png" -crop "$layer_area" +repage \
    -fx "($strong && !$blue_hue) ? 1 : 0" -trim -format '%[fx:page.x + w/2] %[fx:page.y + h/2]' info:)"
  click "$lx" "$ly"
  sleep 1.5
  shot edit
  click $edit_close
  sleep 1.5
  click $text_button
  sleep 1.5
  click $words
  sleep 1.5
  shot catalogue
fi
echo "text road passed on $device"
