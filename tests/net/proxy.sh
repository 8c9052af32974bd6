#!/bin/sh
# Starts or stops the tinyproxy that the network tests use as a real proxy with Basic
# authorization: proxy.sh start|stop FOLDER PORT USER PASSWORD
set -u
cmd=$1; dir=$2; port=$3; user=${4:-}; password=${5:-}
pidfile="$dir/tinyproxy.pid"

stop_proxy() {
  if [ -f "$pidfile" ]; then
    pid=$(cat "$pidfile")
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null
      i=0
      while kill -0 "$pid" 2>/dev/null && [ $i -lt 20 ]; do sleep 0.1; i=$((i+1)); done
      kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$pidfile"
  fi
}

# The machine's own user namespace maps every id; a private one maps only a few.
in_private_user_namespace() {
  ! awk '$3 == 4294967295 { found = 1 } END { exit !found }' /proc/self/uid_map 2>/dev/null
}

case "$cmd" in
start)
  command -v tinyproxy >/dev/null 2>&1 || { echo "proxy.sh: tinyproxy is not installed; proxy tests will skip"; exit 0; }
  mkdir -p "$dir"
  stop_proxy
  {
    echo "Port $port"
    echo "Listen 127.0.0.1"
    echo "Timeout 15"
    echo "MaxClients 20"
    echo "LogLevel Error"
    echo "Allow 127.0.0.1"
    echo "BasicAuth $user $password"
    echo "DisableViaHeader Yes"
    # Root drops to nobody, but not inside a private user namespace (the emulated 32-bit test
    # lane): there only root itself is mapped, and switching user or group fails.
    if [ "$(id -u)" = 0 ] && ! in_private_user_namespace; then echo "User nobody"; echo "Group nogroup"; fi
  } > "$dir/tinyproxy.conf"
  # Detached from ctest's pipes, or ctest would wait for it.
  tinyproxy -d -c "$dir/tinyproxy.conf" </dev/null >"$dir/tinyproxy.out" 2>&1 &
  echo $! > "$pidfile"
  # Ready when the port answers (at most 5 s); a proxy that never comes up makes the tests skip.
  python3 - "$port" <<'PY'
import socket, sys, time
port = int(sys.argv[1])
for _ in range(50):
    try:
        socket.create_connection(("127.0.0.1", port), 0.2).close()
        sys.exit(0)
    except OSError:
        time.sleep(0.1)
print("proxy.sh: tinyproxy did not start; proxy tests will skip")
PY
  exit 0
  ;;
stop)
  stop_proxy
  exit 0
  ;;
esac
echo "usage: proxy.sh start|stop FOLDER PORT USER PASSWORD" >&2
exit 2
