#!/usr/bin/env bash
# Runs test functions of a Qt Test program where a screen reader could listen: a real X server
# (Xvfb), a private session bus with the AT-SPI bus on it, and Qt's bridge switched on, so that
# QAccessible::isActive() holds and what the widgets announce can be caught. Skips (77) where Xvfb
# or the AT-SPI bus cannot be had.
#   with_a11y_bus.sh <test program> <function>...
set -uo pipefail
skip() { echo "SKIP: $*"; exit 77; }
if [ -z "${TESSARON_A11Y_BUS:-}" ]; then
  for tool in xvfb-run dbus-run-session dbus-send; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  [ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus (at-spi2-core) is not installed"
  export TESSARON_A11Y_BUS=1
  exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
trap 'kill $bus 2>/dev/null; wait $bus 2>/dev/null' EXIT
for _ in $(seq 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  sleep 0.1
done
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
