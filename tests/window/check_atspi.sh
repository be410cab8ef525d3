#!/usr/bin/env bash
# The running Linux program seen over AT-SPI, as Orca sees it: on a virtual
# display and a private session bus with its own accessibility bus.
#   check_atspi.sh PROGRAM
set -u
program=$1 script=$(dirname "$0")/atspi_names.py
if [[ -z ${DISPLAY:-} ]]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi
exec dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  # The program looks for the accessibility bus once, when it starts.
  for i in $(seq 100); do
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
  done
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$1" &
  app=$!
  /usr/bin/python3 "$2"
  status=$?
  kill $app $launcher 2>/dev/null
  exit $status' check "$program" "$script"
