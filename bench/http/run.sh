#!/usr/bin/env bash
# Requests per second for a static file of a program folder (images/felt.jpg, as the main page shows it):
# the program's own request handler behind our gateway beside nginx serving the same folder, both held to
# the same single CPU (CORE, by default the last one) with taskset while the load generator (wrk) runs on
# the others, one request per connection, 32 clients. The two are measured in turn ROUNDS times (5);
# prints each round, the medians and the ratio of the medians, the CPU time each spent per request, and
# the log lines the gateway wrote per connection. CLIENTS sets another number of clients.
#
# Then the traversal matrix (requests that try to leave the folder) against both, and the slow-client
# run: SLOW_CLIENTS connections (200) each send the start of a request and a byte a second after it,
# coming back at once when closed, while four clients send whole requests one after the other; each
# whole request must be answered within 1 s. Measured on the gateway with its default bound, on one with
# a bound of 64 that the slow ones fill, and on nginx; prints the share answered.
#   bench/http/run.sh [BUILD_DIR] [SECONDS] [ROUNDS]
set -euo pipefail

build_dir=${1:-build}
seconds=${2:-10}
rounds=${3:-5}
clients=${CLIENTS:-32}
here=$(cd "$(dirname "$0")" && pwd)

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

cmake --build "$build_dir" --target bench_http_server zuno2-setup >/dev/null
server_bin="$build_dir/bench/bench_http_server"
setup_bin="$build_dir/tools/zuno2-setup"

cpus=$(nproc)
core=${CORE:-$((cpus - 1))}
others=$(seq 0 $((cpus - 1)) | grep -vx "$core" | paste -sd, -)
[ -n "$others" ] || others=$core

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A program folder as the installation makes it, with a secret beside it and ways out of it.
"$setup_bin" "$work/prog" >/dev/null
mkdir -p "$work/secret" "$work/prog/mappe.css" "$work/nginx" "$work/gateway" "$work/www"
echo "hemmelig-tekst" >"$work/secret/pw.css"
ln -s "$work/secret/pw.css" "$work/prog/ud.css"
ln -s "$work/secret" "$work/prog/ude"
chmod -R a+rX "$work" # nginx's worker reads as an unprivileged user
file=/images/felt.jpg

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# One worker process on the one CPU: the gateway, too, answers from one handler thread.
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
    server { listen 127.0.0.1:$nginx_port; root $work/prog; }
}
CONF
taskset -c "$core" "$nginx_bin" -c "$work/nginx/nginx.conf" -p "$work/nginx" &
nginx_master=$!
pids+=($nginx_master)

coproc GATEWAY { exec taskset -c "$core" "$server_bin" --program "$work/prog" "$work/gateway" 0; }
gateway_pid=$GATEWAY_PID
pids+=($gateway_pid)
read -r gateway_port <&"${GATEWAY[0]}"

for _ in $(seq 50); do # nginx is up once it takes a connection
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $nginx_port)).close()" 2>/dev/null && break
    sleep 0.1
done
nginx_worker=$(pgrep -P "$nginx_master" | head -1)

# HTTP/1.0 without keep-alive: each answer ends its connection on both servers.
cat >"$work/request.lua" <<LUA
request = function() return "GET $file HTTP/1.0\r\n\r\n" end
LUA

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() { # name port pid; sets rate and cpu (microseconds of CPU per request)
    local out errors before after requests
    before=$(cpu_ticks "$3")
    out=$(taskset -c "$others" wrk -t4 -c"$clients" -d"${seconds}s" -s "$work/request.lua" "http://127.0.0.1:$2/")
    after=$(cpu_ticks "$3")
    rate=$(awk '/Requests\/sec:/ {print $2}' <<<"$out")
    requests=$(awk '/requests in/ {print $1}' <<<"$out")
    cpu=$(awk -v a="$before" -v b="$after" -v t="$(getconf CLK_TCK)" -v r="$requests" \
        'BEGIN { printf "%.1f", r ? (b - a) / t * 1e6 / r : 0 }')
    errors=$(grep -E "Non-2xx|Socket errors" <<<"$out" | tr -s ' ' || true)
    printf '  %-8s %8.0f requests/s %6s us CPU per request %s\n' "$1" "$rate" "$cpu" "${errors:+($errors)}"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "static file $file ($(stat -c %s "$work/prog$file") bytes) of a program folder, one request per" \
    "connection, $clients clients, ${seconds}s each; both servers on CPU $core, wrk on $others"
gateway_rates=() nginx_rates=() gateway_cpus=() nginx_cpus=()
for round in $(seq "$rounds"); do
    echo "round $round"
    measure gateway "$gateway_port" "$gateway_pid"
    gateway_rates+=("$rate") gateway_cpus+=("$cpu")
    measure nginx "$nginx_port" "$nginx_worker"
    nginx_rates+=("$rate") nginx_cpus+=("$cpu")
done
g=$(printf '%s\n' "${gateway_rates[@]}" | median)
n=$(printf '%s\n' "${nginx_rates[@]}" | median)
gc=$(printf '%s\n' "${gateway_cpus[@]}" | median)
nc=$(printf '%s\n' "${nginx_cpus[@]}" | median)
printf 'medians of %d rounds: gateway %.0f, nginx %.0f requests/s: ratio %.2f (target at least 0.50)\n' \
    "$rounds" "$g" "$n" "$(awk -v g="$g" -v n="$n" 'BEGIN { print g / n }')"
printf 'CPU per request: gateway %s us, nginx %s us: requests per CPU-second, gateway/nginx %.2f\n' \
    "$gc" "$nc" "$(awk -v g="$gc" -v n="$nc" 'BEGIN { print n / g }')"
log=$(cat "$work"/gateway/Http_*.LOG)
connections=$(grep -c "</client communication>" <<<"$log" || true)
echo "the gateway's daily log: $(wc -l <<<"$log") lines for $connections connections," \
    "$(awk -v l="$(wc -l <<<"$log")" -v c="$connections" 'BEGIN { printf "%.2f", c ? l / c : 0 }') a connection;" \
    "one of them:"
# The lines of the first request answered, the stamps cut and the timings left out.
awk '/<client communication>/ { n = 0 } { block[++n] = substr($0, 22) } /<server request>/ { seen = 1 }
     /<\/client communication>/ && seen { for (i = 1; i <= n; ++i) print "  " block[i]; exit }' <<<"$log" |
    sed -E 's/(Time|ConnectTime):[0-9]+/\1:N/g; s/[0-9]+\.[0-9]{3} seconds/S seconds/'

echo
echo "requests that try to leave the folder (a secret lies beside it, links lead to it):"
for server in "gateway $gateway_port" "nginx $nginx_port"; do
    set -- $server
    echo " $1"
    python3 "$here/traversal.py" "$2" secret "$work/secret/pw.css" hemmelig-tekst | sed 's/^served/  served/'
done

# The slow clients against the gateway as before: a plain file server, on every CPU.
cp "$work/prog$file" "$work/www/small.jpg"
start_plain() { # folder bound; sets port
    mkdir -p "$work/$1"
    "$server_bin" "$work/www" "$work/$1" 0 ${2:-} >"$work/$1.port" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/$1.port" ] && break; sleep 0.05; done
    read -r port <"$work/$1.port"
}
start_plain plain "${MAX_CONNECTIONS:-}"
plain_port=$port
# The old default bound, which the slow clients fill: only the head deadline makes room there.
start_plain gateway64 64
gateway64_port=$port
cp "$work/www/small.jpg" "$work/prog/small.jpg"

slow_clients=${SLOW_CLIENTS:-200}
echo
echo "slow clients: $slow_clients trickling a byte a second, 4 clients with whole requests, ${seconds}s each;" \
    "answered within 1 s"
slow_run() { # name port; sets share
    local answered total refused waiting cut
    read -r answered total refused waiting cut < <(python3 "$here/slow_clients.py" "$2" /small.jpg "$slow_clients" "$seconds")
    share=$(awk -v a="$answered" -v t="$total" 'BEGIN { printf "%.3f", t ? a / t : 0 }')
    printf '%-18s %5d of %5d whole requests answered (%s), %d closed unanswered, %d still waiting;' \
        "$1" "$answered" "$total" "$share" "$refused" "$waiting"
    printf ' slow connections closed by the server: %d\n' "$cut"
}
slow_run gateway "$plain_port"
gateway_share=$share
slow_run "gateway, bound 64" "$gateway64_port"
gateway64_share=$share
slow_run nginx "$nginx_port"
awk -v g="$gateway_share" -v s="$gateway64_share" -v n="$share" \
    'BEGIN { printf "share answered, gateway/nginx: %.2f, gateway with bound 64/nginx: %.2f (target 1.00)\n", g / n, s / n }'
