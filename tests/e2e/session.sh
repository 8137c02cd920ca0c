# Shared by the end-to-end scripts, sourced once app, device and points (the device's screen
# in points, "768 1024") are set: a virtual display of VIMORA_E2E_SCREEN (default 1280x1100),
# a throw-away home and photo library, the application in its window, the pointer and
# screenshots in the device's points through the window's scale, and fail() with the
# application's output and log.

screen=${VIMORA_E2E_SCREEN:-1280x1100}
# The display number search starts at a random place: other virtual displays on the machine
# start theirs at 99, and two searches racing for one number leave one without a display.
if [ -z "${VIMORA_E2E_DISPLAY:-}" ]; then
  exec xvfb-run -a -n $((100 + RANDOM % 5000)) -s "-screen 0 ${screen}x24" env VIMORA_E2E_DISPLAY=1 "$0" "$@"
fi

work=$(mktemp -d)
export VIMORA_HOME=$work/home VIMORA_PHOTOS=$work/photos
mkdir -p "$VIMORA_HOME" "$VIMORA_PHOTOS"
log=$work/app.log
pid=
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "FAIL: $*" >&2
  echo "--- application output and log ---" >&2
  cat "$log" "$VIMORA_HOME/vimora.log" >&2 || true
  exit 1
}

# Starts the application for $device, finds its window (wid, win_x, win_y) and how the
# device's screen is scaled into it: one factor, centred (scale, off_x, off_y, shown_w,
# shown_h). The whole window must fit the virtual screen.
# On a loaded machine the new display sometimes refuses the first connection: the
# application then stops at once, and is started again.
start_app() {
  wid=
  for _ in 1 2 3; do
    "$app" --device "$device" >"$log" 2>&1 &
    pid=$!
    for _ in $(seq 100); do
      wid=$(xdotool search --onlyvisible --name '^Vimora$' 2>/dev/null | head -1 || true)
      [ -n "$wid" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    [ -n "$wid" ] && break
    wait "$pid" 2>/dev/null || true
    grep -q "could not connect to display" "$log" || break
    sleep 1
  done
  [ -n "$wid" ] || fail "no Vimora window"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  win_x=$X win_y=$Y
  read -r pw ph <<<"$points"
  read -r scale off_x off_y shown_w shown_h <<<"$(awk -v w="$WIDTH" -v h="$HEIGHT" -v pw="$pw" -v ph="$ph" 'BEGIN{
    s = w / pw; if (h / ph < s) s = h / ph
    printf "%.6f %.3f %.3f %d %d", s, (w - pw * s) / 2, (h - ph * s) / 2, pw * s + 0.5, ph * s + 0.5 }')"
  read -r screen_w screen_h <<<"${screen/x/ }"
  [ $((X + WIDTH)) -le "$screen_w" ] && [ $((Y + HEIGHT)) -le "$screen_h" ] \
    || fail "the window (${WIDTH}x${HEIGHT} at $X,$Y) does not fit the ${screen} screen"
  awk -v s="$scale" 'BEGIN{exit !(s > 0.3 && s <= 1)}' || fail "the window shows the screen at $scale pixels per point"
}

at() {
  xdotool mousemove "$(awk -v a="$1" -v x="$win_x" -v o="$off_x" -v s="$scale" 'BEGIN{printf "%d", x+o+a*s+0.5}')" \
    "$(awk -v a="$2" -v y="$win_y" -v o="$off_y" -v s="$scale" 'BEGIN{printf "%d", y+o+a*s+0.5}')"
}
click() { at "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.5; }
# A drag in small steps, as a finger moves.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4
  at "$x" "$y"; sleep 0.2
  xdotool mousedown 1; sleep 0.1
  for i in $(seq 1 12); do
    at "$(awk -v a="$x" -v d="$dx" -v i="$i" 'BEGIN{print a+d*i/12}')" "$(awk -v a="$y" -v d="$dy" -v i="$i" 'BEGIN{print a+d*i/12}')"
    sleep 0.05
  done
  xdotool mouseup 1; sleep 0.5
}
# Waits up to 20 seconds for a file to appear.
wait_for_file() {
  for _ in $(seq 100); do [ -f "$1" ] && return 0; sleep 0.2; done
  return 1
}
# Home -> the album -> the library picker's first album and first photo -> Done, until the
# editor has the photo. The calling script sets the points album, first_album, first_photo
# and picker_done for its device.
open_library_photo() {
  click $album
  sleep 1
  click $first_album
  sleep 1
  click $first_photo
  click $picker_done
  wait_for_file "$VIMORA_HOME/tmp/Origin.png" || fail "the editor did not open the photo"
}

# A screenshot in points, $work/NAME.png: the shown screen cut out of the window and brought
# back to its size.
screen_shot() {
  import -window "$wid" "$work/$1-window.png"
  convert "$work/$1-window.png" -crop "${shown_w}x${shown_h}+${off_x%.*}+${off_y%.*}" +repage -resize "${pw}x${ph}!" "$work/$1.png"
}
# Root-mean-square difference of two screenshots in $work, and whether they are the same screen.
differ() { compare -metric RMSE "$work/$1.png" "$work/$2.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/' || true; }
same() { awk -v e="$(differ "$1" "$2")" 'BEGIN{exit !(e < 0.01)}'; }
# A screenshot (by the script's own shot) that differs from an earlier one, or failure after a
# number of tries (40).
changed_shot() {
  for _ in $(seq "${3:-40}"); do
    shot "$1"
    same "$1" "$2" || return 0
    sleep 0.25
  done
  return 1
}
# The script's shot: a script that keeps some screenshots defines its own after sourcing this.
shot() { screen_shot "$1"; }
# A screenshot once the screen stops changing (two alike 0.3 s apart), or failure after 40 tries.
settled_shot() {
  shot "$1"
  for _ in $(seq 40); do
    sleep 0.3
    mv "$work/$1.png" "$work/$1-before.png"
    shot "$1"
    same "$1" "$1-before" && return 0
  done
  return 1
}
# A key to the window, then an optional pause (seconds) for what it starts.
key() {
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  xdotool key "$1"
  [ -z "${2:-}" ] || sleep "$2"
}
# Waits up to 20 seconds for a shell condition to hold.
wait_for() {
  for _ in $(seq 100); do eval "$1" && return 0; sleep 0.2; done
  return 1
}
# Waits for the photo dialog that "Other location..." opens and types PATH into it.
open_in_photo_dialog() {
  local dialog=
  for _ in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --name 'Choose a photo' 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] && break
    sleep 0.2
  done
  [ -n "$dialog" ] || fail "Other location... did not open the photo dialog"
  xdotool windowfocus --sync "$dialog"
  sleep 0.3
  xdotool type --delay 15 "$1"
  xdotool key Return
}
