#!/usr/bin/env bash
# Requests per second for a small static file: our gateway (a handler that sends the file) beside
# nginx serving the same file from a configuration of our own, both with one request per connection,
# 32 clients at once and the same load generator (wrk), in one run. Prints the ratio.
#   bench/http/run.sh [BUILD_DIR] [SECONDS]
set -euo pipefail

build_dir=${1:-build}
seconds=${2:-10}
clients=32

missing=()
command -v nginx >/dev/null || [ -x /usr/sbin/nginx ] || missing+=(nginx)
command -v wrk >/dev/null || missing+=(wrk)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)

cmake --build "$build_dir" --target bench_http_server >/dev/null
server_bin="$build_dir/bench/bench_http_server"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/nginx" "$work/gateway"
chmod 755 "$work" "$work/www" # nginx's worker reads the page as an unprivileged user
# A small page of 2 KiB.
for i in $(seq 1 32); do printf '<p>Resultatliste linje %02d .............................</p>\n' "$i"; done |
    head -c 2048 >"$work/www/small.htm"

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# One worker process: the gateway, too, answers from one handler thread.
nginx_port=$(free_port)
cat >"$work/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
    access_log $work/nginx/access.log;
    client_body_temp_path $work/nginx; proxy_temp_path $work/nginx; fastcgi_temp_path $work/nginx;
    uwsgi_temp_path $work/nginx; scgi_temp_path $work/nginx;
    keepalive_timeout 0;
    server { listen 127.0.0.1:$nginx_port; root $work/www; }
}
CONF
"$nginx_bin" -c "$work/nginx/nginx.conf" -p "$work/nginx" &
pids+=($!)

coproc GATEWAY { exec "$server_bin" "$work/www" "$work/gateway"; }
pids+=($GATEWAY_PID)
read -r gateway_port <&"${GATEWAY[0]}"

# HTTP/1.0 without keep-alive: each answer ends its connection on both servers.
cat >"$work/request.lua" <<'LUA'
request = function() return "GET /small.htm HTTP/1.0\r\n\r\n" end
LUA

for _ in $(seq 50); do # nginx is up once it takes a connection
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $nginx_port)).close()" 2>/dev/null && break
    sleep 0.1
done

measure() { # name port; sets rate
    local out errors
    out=$(wrk -t4 -c"$clients" -d"${seconds}s" -s "$work/request.lua" "http://127.0.0.1:$2/")
    rate=$(awk '/Requests\/sec:/ {print $2}' <<<"$out")
    errors=$(grep -E "Non-2xx|Socket errors" <<<"$out" | tr -s ' ' || true)
    printf '%-8s %8.0f requests/s %s\n' "$1" "$rate" "${errors:+($errors)}"
}

echo "small static file ($(stat -c %s "$work/www/small.htm") bytes), one request per connection," \
    "$clients clients, ${seconds}s each"
measure gateway "$gateway_port"
gateway_rate=$rate
measure nginx "$nginx_port"
nginx_rate=$rate
awk -v g="$gateway_rate" -v n="$nginx_rate" 'BEGIN { printf "ratio gateway/nginx: %.2f (target at least 0.50)\n", g / n }'
echo "the gateway's daily log: $(cat "$work"/gateway/Http_*.LOG | wc -l) lines"
