#!/usr/bin/env bash
# scripts/demo as a newcomer runs it, on this build folder, in a real X server (Xvfb): it must build
# what it needs, start its services and bring up the application's window. Kafka is the mock
# cluster (no broker's JVM to start); the rest is the script's own (bus, keyring, RabbitMQ node).
#   first_window.sh <source dir> <build dir>
set -uo pipefail
source_dir=$1
build_dir=$2
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run is not installed" >&2; exit 77; }
command -v xdotool >/dev/null 2>&1 || { echo "xdotool is not installed" >&2; exit 77; }
# The services of a surrounding test run stay out of the demo's way: it starts and seeds its own.
exec env -u TESSARON_TEST_RABBITMQ_URL -u TESSARON_KAFKA_CLASSPATH -u TESSARON_TEST_KAFKA_BOOTSTRAP \
  TESSARON_DEMO_BUILD_DIR="$build_dir" TESSARON_DEMO_KAFKA=mock TESSARON_DEMO_FIRST_WINDOW=quit \
  QT_QPA_PLATFORM=xcb TESSARON_REDUCE_MOTION=1 \
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$source_dir/scripts/demo"
