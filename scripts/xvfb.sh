# Source it: velmo_xvfb_start starts a private Xvfb and exports DISPLAY; velmo_xvfb_stop ends it.
velmo_xvfb_start() {
  local fifo pid
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  pid=$!
  read -r VELMO_XVFB_DISPLAY <"$fifo"
  rm -f "$fifo"
  VELMO_XVFB_PID=$pid
  export DISPLAY=":$VELMO_XVFB_DISPLAY"
}
velmo_xvfb_stop() {
  [ -n "${VELMO_XVFB_PID:-}" ] && kill "$VELMO_XVFB_PID" 2>/dev/null
  VELMO_XVFB_PID=
}
