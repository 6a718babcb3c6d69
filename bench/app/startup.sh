#!/usr/bin/env bash
# Start-up and idle memory of the application in a real X server (Xvfb), on a throwaway profile:
#  - process start to the first painted main window, median of 10 runs (the program reports the
#    moment of its first paint and ends when TESSARON_FIRST_PAINT_EXIT is set), and the same for a
#    bare Qt window of the same size (bench_bare_window), the two started alternately in the same
#    run so that the machine's load weighs on both; the ratio of the medians is the figure;
#  - resident memory of the idle program showing the reception, 3 s after its window appeared.
#   bench/app/startup.sh [path/to/tessaron-mq [path/to/bench_bare_window [runs]]]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
app=${1:-$here/build/Tessaron/tessaron-mq}
bare=${2:-$(dirname "$(dirname "$app")")/bench/app/bench_bare_window}
runs=${3:-10}

if [ -z "${TESSARON_IN_XVFB:-}" ]; then
  export TESSARON_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$app" "$bare" "$runs"
fi

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export HOME=$profile/home XDG_CONFIG_HOME=$profile/config XDG_DATA_HOME=$profile/data
export XDG_CACHE_HOME=$profile/cache XDG_RUNTIME_DIR=$profile/run QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Milliseconds from just before the process starts to the first paint it reports.
first_paint() {
  local start painted
  start=$(date +%s%3N)
  painted=$(TESSARON_FIRST_PAINT_EXIT=1 "$1" 2>/dev/null | awk '/^first-paint/ { print $2 }')
  [ -n "$painted" ] || { echo "$1: no first paint reported" >&2; exit 1; }
  echo $((painted - start))
}
median() {
  local sorted=($(printf '%s\n' "$@" | sort -n)) n=$#
  if ((n % 2)); then echo "${sorted[n / 2]}"; else echo $(((sorted[n / 2 - 1] + sorted[n / 2]) / 2)); fi
}

first_paint "$app" >/dev/null # caches warm for both
first_paint "$bare" >/dev/null
times=()
bare_times=()
for run in $(seq "$runs"); do
  times+=($(first_paint "$app"))
  bare_times+=($(first_paint "$bare"))
done
app_median=$(median "${times[@]}")
bare_median=$(median "${bare_times[@]}")
echo "first paint (ms), $runs runs: ${times[*]}"
echo "bare Qt window (ms), $runs runs: ${bare_times[*]}"
echo "first paint median: ${app_median} ms; bare Qt window median: ${bare_median} ms"
awk -v a="$app_median" -v b="$bare_median" 'BEGIN { printf "ratio to a bare Qt window: %.2f\n", a / b }'

"$app" >/dev/null 2>&1 &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Tessaron MQ$' >/dev/null
sleep 3
rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
kill $pid
wait $pid 2>/dev/null || true
echo "idle resident memory, reception shown: $((rss / 1024)) MB (${rss} kB)"
