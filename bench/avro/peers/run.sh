#!/usr/bin/env bash
# The Avro decoder against its peers on the same bytes and schemas, each on one core.
#   bench/avro/peers/run.sh BUILD_DIR [CORE]
# BUILD_DIR holds a Release build with -DTESSARON_BENCH=ON; CORE (default 6) is the core to pin to.
# Needs node and npm (avsc is installed here from the npm registry at run time) and Debian's
# python3-avro.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: run.sh BUILD_DIR [CORE]}"
core="${2:-6}"
bench="$build/bench/avro/bench_avro_decoder"
records="$(mktemp -d)"
trap 'rm -rf "$records"' EXIT

for tool in node npm /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "run.sh needs $tool (Debian: nodejs, npm, python3-avro)" >&2; exit 1; }
done
"$bench" --write-records "$records"
(cd "$here" && npm install --no-audit --no-fund --silent)

echo "CPU: $(lscpu | sed -n 's/^Model name: *//p')"
taskset -c "$core" "$bench" --benchmark_repetitions=5 --benchmark_min_time=1 --benchmark_report_aggregates_only=true \
  | grep median
taskset -c "$core" node "$here/avsc_bench.js" "$records"
taskset -c "$core" /usr/bin/python3 "$here/python_bench.py" "$records"
