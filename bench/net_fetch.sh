#!/usr/bin/env bash
# Fetch speed of HttpReadFile against curl: both fetch the same 100 MB body from
# nginx on 127.0.0.1, in alternating rounds, and the script prints the median of
# each and their ratio (HttpReadFile time / curl time; the goal is at most 1.10).
# curl's own time_total is used, so neither side pays for starting a process.
#   bench/net_fetch.sh [BUILD_DIR] [ROUNDS]     (default build/default, 9 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
rounds=${2:-9}
bench="$build/bench/bench_http_read_file"
[ -x "$bench" ] || { echo "build $bench first: cmake --build --preset default --target bench_http_read_file" >&2; exit 1; }

work=$(mktemp -d)
nginx_pid=""
finish() {
  if [ -n "$nginx_pid" ]; then kill "$nginx_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap finish EXIT

mkdir -p "$work/www" "$work/tmp"
head -c 100000000 /dev/urandom >"$work/www/body.bin"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
daemon on;
master_process off;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  client_body_temp_path $work/tmp/body;
  proxy_temp_path $work/tmp/proxy;
  fastcgi_temp_path $work/tmp/fastcgi;
  uwsgi_temp_path $work/tmp/uwsgi;
  scgi_temp_path $work/tmp/scgi;
  server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
nginx -p "$work" -c "$work/nginx.conf" -e "$work/error.log"
for _ in $(seq 50); do [ -s "$work/nginx.pid" ] && break; sleep 0.1; done
nginx_pid=$(cat "$work/nginx.pid")
url="http://127.0.0.1:$port/body.bin"

curl -s -o /dev/null "$url"  # warm the page cache
"$bench" "$url" 1 >/dev/null

: >"$work/curl.times"
: >"$work/ours.times"
for _ in $(seq "$rounds"); do
  curl -s -o /dev/null -w '%{time_total}\n' "$url" >>"$work/curl.times"
  read -r seconds size < <("$bench" "$url" 1)
  [ "$size" -eq 100000000 ] || { echo "HttpReadFile returned $size bytes" >&2; exit 1; }
  echo "$seconds" >>"$work/ours.times"
done

median() { sort -g "$1" | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
curl_median=$(median "$work/curl.times")
ours_median=$(median "$work/ours.times")
echo "100 MB over loopback, $rounds rounds, median seconds:"
echo "  curl -o /dev/null  $curl_median"
echo "  HttpReadFile       $ours_median"
awk -v a="$ours_median" -v b="$curl_median" 'BEGIN { printf "  ratio              %.3f\n", a / b }'
