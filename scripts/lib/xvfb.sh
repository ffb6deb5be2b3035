# Sourced by the scripts that need a display of their own.
# main_window_id: prints the id of a viewable top-level window whose title starts with
# "Qelvane"; fails when there is none. The title is UTF-8: a machine without LANG would not
# print it.
main_window_id() {
  local id
  for id in $(LC_ALL=C.UTF-8 xwininfo -root -tree 2>/dev/null | sed -nE 's/^ *(0x[0-9a-f]+) "Qelvane.*/\1/p'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# start_xvfb LOG: starts Xvfb on the first free display number from 90 on, waits until it
# answers, exports DISPLAY and sets xvfb_pid. Retries when another run takes a number first.
xvfb_pid=
start_xvfb() {
  local log=$1 n i
  for n in $(seq 90 289); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >"$log" 2>&1 &
    xvfb_pid=$!
    for i in $(seq 1 100); do
      if DISPLAY=:$n xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=:$n
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  echo "could not start Xvfb" >&2
  return 1
}
