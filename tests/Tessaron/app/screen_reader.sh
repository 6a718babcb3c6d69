#!/usr/bin/env bash
# What a screen reader hears: starts the built program in a real X server (Xvfb) with the AT-SPI
# bus, on a throwaway profile that names the demo brokers and speaks Portuguese, and reads its
# accessibility tree with screen_reader.py. Skips (status 77, saying why) where Xvfb, the AT-SPI
# bus or its Python bindings cannot be had; the program must then still quit cleanly with Ctrl+Q.
#   screen_reader.sh <tessaron-mq> <tessaron-demo-brokers> <source dir>
set -uo pipefail
app=$1
demo=$2
source_dir=$3
here=$(cd "${0%/*}" && pwd)
skip() { echo "SKIP: $*"; exit 77; }

if [ -z "${TESSARON_IN_A11Y_SESSION:-}" ]; then
  for tool in xvfb-run dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  [ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus (at-spi2-core) is not installed"
  # Debian's modules, not whatever python3 comes first on PATH.
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
  export TESSARON_IN_A11Y_SESSION=1
  exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

profile=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null && wait "${pids[$i]}" 2>/dev/null; done
  rm -rf "$profile"
}
trap cleanup EXIT
export HOME=$profile/home XDG_CONFIG_HOME=$profile/config XDG_DATA_HOME=$profile/data
export XDG_CACHE_HOME=$profile/cache XDG_RUNTIME_DIR=$profile/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# An AI command-line tool to be found, so the sidebar offers "Ask" and its sheet can be read; it is
# never asked anything.
mkdir -p "$HOME/.local/bin"
printf '#!/bin/sh\nexit 0\n' >"$HOME/.local/bin/claude"
chmod 755 "$HOME/.local/bin/claude"
fail() { echo "screen reader: $*" >&2; exit 1; }

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$profile/bus.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  kill -0 "${pids[0]}" 2>/dev/null || { cat "$profile/bus.log"; skip "the AT-SPI bus did not start"; }
  sleep 0.1
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
  skip "the AT-SPI bus did not answer within 5 s"

# On a real broker the demo also forms consumer groups, whose screen and sheet are then read too.
# Only when asked (TESSARON_SCREEN_READER_KAFKA=1 beside the broker's address): the suite's broker
# is shared with tests that leave groups of their own in the sidebar, and the demo's orders keep
# arriving while rows are clicked, so the walk would read a crowd, not the demo.
demo_args=(--profile "$profile")
if [ -n "${TESSARON_SCREEN_READER_KAFKA:-}" ] && [ -n "${TESSARON_TEST_KAFKA_BOOTSTRAP:-}" ]; then
  demo_args+=(--kafka "$TESSARON_TEST_KAFKA_BOOTSTRAP")
  echo "screen reader: Kafka at $TESSARON_TEST_KAFKA_BOOTSTRAP, with consumer groups"
else
  unset TESSARON_TEST_KAFKA_BOOTSTRAP
  echo "screen reader: on the mock cluster, which has no consumer groups: the group screen and the sheet" \
    "that moves a group's position are read only with TESSARON_SCREEN_READER_KAFKA=1 and a real broker"
fi
"$demo" "${demo_args[@]}" >"$profile/demo.out" 2>"$profile/demo.err" &
pids+=($!)
for _ in $(seq 300); do
  [ -s "$profile/demo.out" ] && break
  kill -0 "${pids[1]}" 2>/dev/null || { cat "$profile/demo.err" >&2; fail "the demo brokers did not start"; }
  sleep 0.1
done
[ -s "$profile/demo.out" ] || fail "the demo brokers were not seeded within 30 s"
# The interface in Portuguese: an English text left untranslated then stands out.
prefs=$XDG_CONFIG_HOME/tessaron.velkin/preferences.json
/usr/bin/python3 - "$prefs" <<'PY' || fail "could not set the language in $prefs"
import json, sys
prefs = json.load(open(sys.argv[1]))
prefs["tessaron.language"] = "pt"
json.dump(prefs, open(sys.argv[1], "w"), indent=4, sort_keys=True)
PY

QT_QPA_PLATFORM=xcb TESSARON_REDUCE_MOTION=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$app" >"$profile/app.log" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tessaron MQ$' 2>/dev/null | head -1)
[ -n "$window" ] || { cat "$profile/app.log" >&2; kill -9 $pid 2>/dev/null; fail "no main window within 20 s"; }

timeout 90 /usr/bin/python3 "$here/screen_reader.py" "$source_dir"
status=$?
kill -0 $pid 2>/dev/null || { cat "$profile/app.log" >&2; fail "the program ended while being read"; }

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 100); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
  kill -9 $pid
  fail "still running 10 s after Ctrl+Q"
fi
wait $pid
rc=$?
[ $rc -eq 0 ] || { cat "$profile/app.log" >&2; fail "ended with status $rc"; }
[ $status -eq 0 ] || fail "what it heard is listed above"
echo "screen reader: heard everything, quit cleanly"
