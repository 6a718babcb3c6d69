# Free loopback ports, asked of the kernel rather than guessed: services_free_ports COUNT prints them.
# Sourced by the service scripts.
services_free_ports() {
  python3 - "$1" <<'PY'
import socket, sys
socks = []
for _ in range(int(sys.argv[1])):
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    socks.append(s)
print(" ".join(str(s.getsockname()[1]) for s in socks))
PY
}
