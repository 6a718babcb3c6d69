#!/usr/bin/env bash
# Runs inside a private D-Bus session: starts every service in this folder (each *.service.sh
# defines start_<name> and stop_<name>), runs each command given, stops the services again.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export TESSARON_SERVICES_DIR=$(mktemp -d /tmp/tessaron-services.XXXXXX)

started=()
stop_all() {
  for ((i=${#started[@]}-1; i>=0; i--)); do "stop_${started[$i]}" || true; done
  rm -rf "$TESSARON_SERVICES_DIR"
}
trap stop_all EXIT

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
  bash -c "$command" || status=1
done
exit $status
