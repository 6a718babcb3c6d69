# A RabbitMQ node of our own for the tests: loopback only, its own node name, data, logs, ports,
# Erlang cookie and port mapper, so it never meets another server on the machine. Sourced by
# run-with-services.sh, which calls start_rabbitmq before the tests and stop_rabbitmq after them.
# Exports TESSARON_TEST_RABBITMQ_URL (the management API's base address) and the guest account
# (which the server accepts from loopback only, which is all we use).

rabbitmq_bin=/usr/lib/rabbitmq/bin

# shellcheck source=free-ports.sh
source "$(dirname "${BASH_SOURCE[0]}")/free-ports.sh"

_rabbitmq_answers() {
  python3 - "$1" <<'EOF'
import base64, sys, urllib.request
req = urllib.request.Request(sys.argv[1] + "/api/overview")
req.add_header("Authorization", "Basic " + base64.b64encode(b"guest:guest").decode())
try:
    urllib.request.urlopen(req, timeout=2).read()
except Exception:
    sys.exit(1)
EOF
}

start_rabbitmq() {
  if [ ! -x "$rabbitmq_bin/rabbitmq-server" ]; then
    echo "rabbitmq-server is not installed (scripts/setup installs it)" >&2
    return 1
  fi
  local dir="$TESSARON_SERVICES_DIR/rabbitmq"
  mkdir -p "$dir/mnesia" "$dir/log" "$dir/home"
  chmod 700 "$dir/home"

  local ports amqp mgmt dist epmd
  ports=$(services_free_ports 4) || return 1
  read -r amqp mgmt dist epmd <<<"$ports"

  # A private cookie, readable only by us, as Erlang insists.
  head -c 32 /dev/urandom | od -An -tx1 | tr -d ' \n' >"$dir/home/.erlang.cookie"
  chmod 400 "$dir/home/.erlang.cookie"

  cat >"$dir/rabbitmq.conf" <<EOF
listeners.tcp.1 = 127.0.0.1:$amqp
management.tcp.ip = 127.0.0.1
management.tcp.port = $mgmt
loopback_users.guest = true
log.console = false
# Queue depths show up in listings within half a second rather than five.
collect_statistics_interval = 500
log.file.level = info
EOF
  echo '[rabbitmq_management].' >"$dir/enabled_plugins"
  : >"$dir/rabbitmq-env.conf"

  RABBITMQ_SERVICE_NODE="tessaron-$$@localhost"
  RABBITMQ_SERVICE_ENV=(
    HOME="$dir/home"
    RABBITMQ_NODENAME="$RABBITMQ_SERVICE_NODE"
    RABBITMQ_USE_LONGNAME=false
    RABBITMQ_NODE_IP_ADDRESS=127.0.0.1
    RABBITMQ_NODE_PORT="$amqp"
    RABBITMQ_DIST_PORT="$dist"
    ERL_EPMD_PORT="$epmd"
    ERL_EPMD_ADDRESS=127.0.0.1
    RABBITMQ_CONF_ENV_FILE="$dir/rabbitmq-env.conf"
    RABBITMQ_CONFIG_FILE="$dir/rabbitmq.conf"
    RABBITMQ_ADVANCED_CONFIG_FILE="$dir/advanced.config"
    RABBITMQ_ENABLED_PLUGINS_FILE="$dir/enabled_plugins"
    RABBITMQ_MNESIA_BASE="$dir/mnesia"
    RABBITMQ_LOG_BASE="$dir/log"
    RABBITMQ_PID_FILE="$dir/rabbitmq.pid"
    RABBITMQ_SERVER_ADDITIONAL_ERL_ARGS="-kernel inet_dist_use_interface {127,0,0,1}"
  )
  RABBITMQ_SERVICE_EPMD_PORT="$epmd"

  (cd "$dir" && exec env "${RABBITMQ_SERVICE_ENV[@]}" "$rabbitmq_bin/rabbitmq-server" \
      >"$dir/log/stdout.log" 2>&1) &
  RABBITMQ_SERVICE_PID=$!

  local url="http://127.0.0.1:$mgmt"
  local i
  for ((i = 0; i < 120; i++)); do
    if ! kill -0 "$RABBITMQ_SERVICE_PID" 2>/dev/null; then
      echo "rabbitmq node ended while starting; its log:" >&2
      tail -n 30 "$dir/log/stdout.log" >&2
      RABBITMQ_SERVICE_PID=
      return 1
    fi
    if _rabbitmq_answers "$url"; then
      export TESSARON_TEST_RABBITMQ_URL="$url"
      export TESSARON_TEST_RABBITMQ_USER=guest
      export TESSARON_TEST_RABBITMQ_PASSWORD=guest
      echo "rabbitmq: management API at $url (node $RABBITMQ_SERVICE_NODE)"
      return 0
    fi
    sleep 1
  done
  echo "rabbitmq management API did not answer at $url within 120 s" >&2
  stop_rabbitmq
  return 1
}

stop_rabbitmq() {
  unset TESSARON_TEST_RABBITMQ_URL TESSARON_TEST_RABBITMQ_USER TESSARON_TEST_RABBITMQ_PASSWORD
  if [ -n "${RABBITMQ_SERVICE_PID:-}" ]; then
    # The server script turns TERM into an orderly stop of its Erlang VM and waits for it.
    kill -TERM "$RABBITMQ_SERVICE_PID" 2>/dev/null || true
    local i
    for ((i = 0; i < 60; i++)); do
      kill -0 "$RABBITMQ_SERVICE_PID" 2>/dev/null || break
      sleep 0.5
    done
    if kill -0 "$RABBITMQ_SERVICE_PID" 2>/dev/null; then
      kill -KILL "$RABBITMQ_SERVICE_PID" 2>/dev/null || true
    fi
    wait "$RABBITMQ_SERVICE_PID" 2>/dev/null || true
    RABBITMQ_SERVICE_PID=
  fi
  # The port mapper the VM started for our private port outlives it; end that one only.
  if [ -n "${RABBITMQ_SERVICE_EPMD_PORT:-}" ]; then
    epmd -port "$RABBITMQ_SERVICE_EPMD_PORT" -kill >/dev/null 2>&1 || true
    RABBITMQ_SERVICE_EPMD_PORT=
  fi
}
