#!/usr/bin/env bash
# The server's peak resident memory while clients download a 200 MB file of the program folder at once:
# 1 download, then 100 (COUNTS). Each count gets a server of its own (the program's request handler,
# bench_http_server --program), so that each peak is its own. The file is made in a temporary folder and
# removed after.
#   bench/http/memory.sh [BUILD_DIR]
set -euo pipefail

build_dir=${1:-build}
counts=${COUNTS:-"1 100"}
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build_dir" --target bench_http_server >/dev/null
server_bin="$build_dir/bench/bench_http_server"

work=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/prog" "$work/log"
head -c $((200 * 1024 * 1024)) /dev/urandom >"$work/prog/stor.jpg"
length=$(stat -c %s "$work/prog/stor.jpg")
echo "a file of $length bytes; peak resident memory of the server process (VmHWM)"
for count in $counts; do
    coproc SERVER { exec "$server_bin" --program "$work/prog" "$work/log" 0; }
    server=$SERVER_PID
    read -r port <&"${SERVER[0]}"
    python3 "$here/downloads.py" "$port" /stor.jpg "$count" "$server" "$length"
    kill "$server"
    wait "$server" 2>/dev/null || true
    server=""
done
