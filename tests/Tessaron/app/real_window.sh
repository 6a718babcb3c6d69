#!/usr/bin/env bash
# Starts the built application in a real X server (Xvfb) on a throwaway profile, waits for its main
# window, grabs it to a PNG and quits with Ctrl+Q. Fails on a crash, a hang or a blank grab.
#   real_window.sh <tessaron-mq> <grab.png> [tessaron-demo-brokers]
# With the demo brokers' program, the profile names the demo Kafka cluster (on loopback) first;
# without it the profile is empty, a first start, and the introduction shows over the window.
set -uo pipefail
app=$1
grab=$2
demo=${3:-}

if [ -z "${TESSARON_IN_XVFB:-}" ]; then
  export TESSARON_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$app" "$grab" $demo
fi

profile=$(mktemp -d)
demo_pid=""
trap '[ -n "$demo_pid" ] && kill $demo_pid 2>/dev/null && wait $demo_pid; rm -rf "$profile"' EXIT
export HOME=$profile/home XDG_CONFIG_HOME=$profile/config XDG_DATA_HOME=$profile/data
export XDG_CACHE_HOME=$profile/cache XDG_RUNTIME_DIR=$profile/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb TESSARON_REDUCE_MOTION=1

fail() { echo "real window: $*" >&2; exit 1; }

if [ -n "$demo" ]; then
  # It prints the profile folder once the brokers are seeded and the brokers file is written.
  "$demo" --profile "$profile" >"$profile/demo.out" 2>"$profile/demo.err" &
  demo_pid=$!
  for _ in $(seq 300); do
    [ -s "$profile/demo.out" ] && break
    kill -0 $demo_pid 2>/dev/null || { cat "$profile/demo.err" >&2; demo_pid=""; fail "the demo brokers did not start"; }
    sleep 0.1
  done
  [ -s "$profile/demo.out" ] || fail "the demo brokers were not seeded within 30 s"
fi

"$app" >"$profile/app.log" 2>&1 &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tessaron MQ$' 2>/dev/null | head -1)
if [ -z "$window" ]; then
  kill -0 $pid 2>/dev/null && kill -9 $pid
  cat "$profile/app.log" >&2
  fail "no main window within 20 s"
fi
# Let the first frames settle.
sleep 1.5
kill -0 $pid 2>/dev/null || { cat "$profile/app.log" >&2; fail "the application ended on its own"; }
# The screen, not the window alone: a sheet over the window is a window of its own.
import -window root "$grab" || fail "could not grab the screen"

# A blank grab has one colour, or next to no variation.
colours=$(identify -format '%k' "$grab")
spread=$(identify -format '%[fx:int(standard_deviation*1000)]' "$grab")
geometry=$(identify -format '%wx%h' "$grab")
echo "grab $grab: $geometry, $colours colours, spread $spread"
[ "$colours" -ge 64 ] && [ "$spread" -ge 10 ] || { kill -9 $pid; fail "the grab is blank"; }

xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.3
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
echo "real window: quit cleanly"
