# Sourced: xvfb_start gives this shell a private X display, xvfb_stop ends it.
xvfb_start() {
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  i=0
  while [ ! -s "$fd_file" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  DISPLAY=":$(head -n1 "$fd_file")"
  export DISPLAY XVFB_PID
  rm -f "$fd_file"
}
xvfb_stop() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
