# Sourced by the e2e tests. start_private_display starts an Xvfb of our own on a display number that
# the server picks itself, so that no other X server on the machine is disturbed, exports DISPLAY and
# stops that server, and only it, when the sourcing script exits. The suite runs these tests one at a
# time (see CMakeLists.txt).

# Under the sanitizers, system libraries' own lifetime allocations are not our leaks; this holds for
# a program started with no display too, so it is set on sourcing.
export LSAN_OPTIONS="suppressions=$(dirname "${BASH_SOURCE[0]}")/x11_system_leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

start_private_display() {
  local log=${1:-/dev/null}
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: the e2e tests need it" >&2
    return 1
  fi
  PRIVATE_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR=$PRIVATE_RUNTIME_DIR
  trap stop_private_display EXIT
  coproc PRIVATE_XVFB { exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>"$log"; }
  local number
  if ! read -r -t 60 number <&"${PRIVATE_XVFB[0]}"; then
    echo "Xvfb did not start; its log is $log" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

stop_private_display() {
  if [[ -n ${PRIVATE_XVFB_PID:-} ]]; then
    kill "$PRIVATE_XVFB_PID" 2>/dev/null || true
    wait "$PRIVATE_XVFB_PID" 2>/dev/null || true
  fi
  [[ -n ${PRIVATE_RUNTIME_DIR:-} ]] && rm -rf "$PRIVATE_RUNTIME_DIR"
  return 0
}
