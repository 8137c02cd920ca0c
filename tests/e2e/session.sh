# Shared by the end-to-end scripts, sourced once app and device are set: a virtual display,
# a throw-away home and photo library, the application started in its window, pointer helpers
# in window points, and fail() with the application's output and log.

# The display number search starts at a random place: other virtual displays on the machine
# start theirs at 99, and two searches racing for one number leave one without a display.
if [ -z "${VIMORA_E2E_DISPLAY:-}" ]; then
  exec xvfb-run -a -n $((100 + RANDOM % 5000)) -s '-screen 0 1280x1100x24' env VIMORA_E2E_DISPLAY=1 "$0" "$@"
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

# Starts the application for $device and finds its window (wid, win_x, win_y).
start_app() {
  "$app" --device "$device" >"$log" 2>&1 &
  pid=$!
  wid=
  for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name '^Vimora$' 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && break
    sleep 0.2
  done
  [ -n "$wid" ] || fail "no Vimora window"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  win_x=$X win_y=$Y
}

at() { xdotool mousemove "$(awk -v a="$1" -v x="$win_x" 'BEGIN{printf "%d", x+a}')" "$(awk -v a="$2" -v y="$win_y" 'BEGIN{printf "%d", y+a}')"; }
click() { at "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.5; }
