#!/usr/bin/env bash
# Requests per second for a small static file: our gateway (a handler that sends the file) beside
# nginx serving the same file from a configuration of our own, both with one request per connection,
# 32 clients at once and the same load generator (wrk), in one run. Prints the ratio; with ROUNDS above
# 1 the two are measured in turn that often and the medians are printed too, for a machine whose load
# comes and goes. CLIENTS sets another number of clients, MAX_CONNECTIONS another bound of the gateway.
#
# Then the slow-client run: SLOW_CLIENTS connections (200) each send the start of a request and a byte a
# second after it, coming back at once when closed, while four clients send whole requests one after
# the other; each whole request must be answered within 1 s. Measured on the gateway with its default
# bound, on one with a bound of 64 that the slow ones fill, and on nginx; prints the share answered.
#   bench/http/run.sh [BUILD_DIR] [SECONDS] [ROUNDS]
set -euo pipefail

build_dir=${1:-build}
seconds=${2:-10}
rounds=${3:-1}
clients=${CLIENTS:-32}

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
for i in $(seq 1 40); do printf '<p>Resultatliste linje %02d .............................</p>\n' "$i"; done \
    >"$work/www/small.htm"
truncate -s 2048 "$work/www/small.htm"

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

coproc GATEWAY { exec "$server_bin" "$work/www" "$work/gateway" 0 ${MAX_CONNECTIONS:-}; }
pids+=($GATEWAY_PID)
read -r gateway_port <&"${GATEWAY[0]}"
# The old default bound, which the slow clients fill: only the head deadline makes room there.
mkdir -p "$work/gateway64"
"$server_bin" "$work/www" "$work/gateway64" 0 64 >"$work/gateway64.port" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/gateway64.port" ] && break; sleep 0.05; done
read -r gateway64_port <"$work/gateway64.port"

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

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "small static file ($(stat -c %s "$work/www/small.htm") bytes), one request per connection," \
    "$clients clients, ${seconds}s each"
gateway_rates=() nginx_rates=() ratios=()
for round in $(seq "$rounds"); do
    [ "$rounds" -gt 1 ] && echo "round $round"
    measure gateway "$gateway_port"
    gateway_rates+=("$rate")
    measure nginx "$nginx_port"
    nginx_rates+=("$rate")
    ratios+=("$(awk -v g="${gateway_rates[-1]}" -v n="$rate" 'BEGIN { printf "%.2f", g / n }')")
    echo "ratio gateway/nginx: ${ratios[-1]} (target at least 0.50)"
done
if [ "$rounds" -gt 1 ]; then
    printf 'medians of %d rounds: gateway %.0f, nginx %.0f requests/s; ratio %.2f (target at least 0.50)\n' \
        "$rounds" "$(printf '%s\n' "${gateway_rates[@]}" | median)" "$(printf '%s\n' "${nginx_rates[@]}" | median)" \
        "$(printf '%s\n' "${ratios[@]}" | median)"
fi
echo "the gateway's daily log: $(cat "$work"/gateway/Http_*.LOG | wc -l) lines," \
    "$(cat "$work"/gateway/Http_*.LOG | grep -c "Too many connections" || true) connections closed at the bound"

slow_clients=${SLOW_CLIENTS:-200}
slow_script=$(dirname "$0")/slow_clients.py
echo
echo "slow clients: $slow_clients trickling a byte a second, 4 clients with whole requests, ${seconds}s each;" \
    "answered within 1 s"
slow_run() { # name port; sets share
    local answered total refused waiting cut
    read -r answered total refused waiting cut < <(python3 "$slow_script" "$2" /small.htm "$slow_clients" "$seconds")
    share=$(awk -v a="$answered" -v t="$total" 'BEGIN { printf "%.3f", t ? a / t : 0 }')
    printf '%-18s %5d of %5d whole requests answered (%s), %d closed unanswered, %d still waiting;' \
        "$1" "$answered" "$total" "$share" "$refused" "$waiting"
    printf ' slow connections closed by the server: %d\n' "$cut"
}
slow_run gateway "$gateway_port"
gateway_share=$share
slow_run "gateway, bound 64" "$gateway64_port"
gateway64_share=$share
slow_run nginx "$nginx_port"
awk -v g="$gateway_share" -v s="$gateway64_share" -v n="$share" \
    'BEGIN { printf "share answered, gateway/nginx: %.2f, gateway with bound 64/nginx: %.2f (target 1.00)\n", g / n, s / n }'
