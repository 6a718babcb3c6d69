#!/usr/bin/env bash
# Start-up and idle memory of the application in a real X server (Xvfb), on a throwaway profile:
#  - process start to the first painted main window, median of 10 runs (the program reports the
#    moment of its first paint and ends when TESSARON_FIRST_PAINT_EXIT is set);
#  - resident memory of the idle program showing the reception, 3 s after its window appeared.
#   bench/app/startup.sh [path/to/tessaron-mq]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
app=${1:-$here/build/Tessaron/tessaron-mq}

if [ -z "${TESSARON_IN_XVFB:-}" ]; then
  export TESSARON_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$app"
fi

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export HOME=$profile/home XDG_CONFIG_HOME=$profile/config XDG_DATA_HOME=$profile/data
export XDG_CACHE_HOME=$profile/cache XDG_RUNTIME_DIR=$profile/run QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

times=()
for run in $(seq 10); do
  start=$(date +%s%3N)
  painted=$(TESSARON_FIRST_PAINT_EXIT=1 "$app" 2>/dev/null | awk '/^first-paint/ { print $2 }')
  [ -n "$painted" ] || { echo "run $run: no first paint reported" >&2; exit 1; }
  times+=($((painted - start)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=$(((sorted[4] + sorted[5]) / 2))
echo "first paint (ms), 10 runs: ${times[*]}"
echo "first paint median: ${median} ms"

"$app" >/dev/null 2>&1 &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Tessaron MQ$' >/dev/null
sleep 3
rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
kill $pid
wait $pid 2>/dev/null || true
echo "idle resident memory, reception shown: $((rss / 1024)) MB (${rss} kB)"
