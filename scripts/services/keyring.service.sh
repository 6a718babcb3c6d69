# A private, unlocked gnome-keyring on the session bus of this test run, with its own HOME and
# XDG folders under $TESSARON_SERVICES_DIR, so no test touches the user's own keyring.
# Sourced by run-with-services.sh inside dbus-run-session.

keyring_pid=""

start_keyring() {
  command -v gnome-keyring-daemon >/dev/null 2>&1 || { echo "gnome-keyring-daemon not installed" >&2; return 1; }
  [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "no session bus" >&2; return 1; }

  local dir="$TESSARON_SERVICES_DIR/keyring"
  mkdir -p "$dir/home" "$dir/data" "$dir/config" "$dir/cache" "$dir/run"
  chmod 700 "$dir/run"

  # The password arrives on standard input; a fresh home gets a "login" keyring made with it,
  # unlocked and the default collection.
  printf '%s' "tessaron-test-keyring" | \
    HOME="$dir/home" XDG_DATA_HOME="$dir/data" XDG_CONFIG_HOME="$dir/config" \
    XDG_CACHE_HOME="$dir/cache" XDG_RUNTIME_DIR="$dir/run" \
    gnome-keyring-daemon --foreground --unlock --components=secrets >"$dir/env" 2>"$dir/log" &
  keyring_pid=$!

  local i
  for i in $(seq 1 100); do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
         org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q 'boolean true'; then
      local line
      while IFS= read -r line; do
        case "$line" in GNOME_KEYRING_CONTROL=*) export "$line" ;; esac
      done <"$dir/env"
      export TESSARON_KEYRING_DIR="$dir"
      return 0
    fi
    kill -0 "$keyring_pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$dir/log" >&2
  stop_keyring
  return 1
}

stop_keyring() {
  if [ -n "$keyring_pid" ]; then
    kill "$keyring_pid" 2>/dev/null || true
    wait "$keyring_pid" 2>/dev/null || true
    keyring_pid=""
  fi
}
