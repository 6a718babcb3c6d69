#!/usr/bin/env bash
# Runs inside a private D-Bus session: starts every service in this folder (each *.service.sh
# defines start_<name> and stop_<name>), runs each command given, stops the services again.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The caller may name the folder (scripts/test does, to check afterwards that it is gone).
if [ -n "${TESSARON_SERVICES_DIR:-}" ]; then
  mkdir -p "$TESSARON_SERVICES_DIR"
else
  TESSARON_SERVICES_DIR=$(mktemp -d /tmp/tessaron-services.XXXXXX)
fi
export TESSARON_SERVICES_DIR

started=()
stop_all() {
  for ((i=${#started[@]}-1; i>=0; i--)); do "stop_${started[$i]}" || true; done
  rm -rf "$TESSARON_SERVICES_DIR"
}
trap stop_all EXIT
# Ctrl+C or a TERM still stops every service (the EXIT trap runs on the way out).
trap 'exit 130' INT
trap 'exit 143' TERM

for script in "$here"/*.service.sh; do
  [ -e "$script" ] || continue
  name=$(basename "$script" .service.sh)
  # shellcheck disable=SC1090
  source "$script"
  if "start_${name}"; then
    started+=("$name")
  else
    echo "service $name did not start; tests that need it report themselves skipped" >&2
  fi
done

status=0
for command in "$@"; do
  echo "== $command"
  began=$SECONDS
  bash -c "$command" || status=1
  echo "== $((SECONDS - began)) s: $command"
done
exit $status
