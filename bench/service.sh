#!/usr/bin/env bash
# Measures biaobai-service on loopback against nginx serving one static JPEG of
# the same size (the upper bound for answering over HTTP), both under wrk with
# 2 threads and 64 connections for 20 s; the service gets varied names from a
# Lua script and answers them from its warm cache. Then the Google Benchmark of
# drawing and encoding one picture from scratch.
#   bench/service.sh [SECONDS]     (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build/default

cmake --preset default >/dev/null
cmake --build --preset default --target biaobai-service bench_service >/dev/null

work=$(mktemp -d)
service_pid=""
nginx_pid=""
cleanup() {
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null || true
  [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

# The service, on a free port, with one thread per core. Its log goes to a file
# that is thrown away: a line per request is part of the work measured.
"$build/service/biaobai-service" --listen 127.0.0.1:0 --threads "$(nproc)" 2>"$work/service.log" &
service_pid=$!
for _ in $(seq 100); do
  grep -q "listening on" "$work/service.log" && break
  sleep 0.1
done
service_port=$(grep -o 'listening on 127.0.0.1:[0-9]*' "$work/service.log" | cut -d: -f2)
[ -n "$service_port" ] || { echo "the service did not start"; cat "$work/service.log"; exit 1; }

# 256 different names, two to six characters, over all four templates.
cat >"$work/names.lua" <<'LUA'
local syllables = {"%E5%BC%A0", "%E4%B8%89", "%E6%9D%8E", "%E5%9B%9B", "%E7%8E%8B", "%E4%BA%94",
                   "%E8%B5%B5", "%E5%85%AD", "%E6%AC%A7", "%E9%98%B3", "%E5%A8%9C", "%E5%BF%83",
                   "%E7%BE%8E", "%E4%B8%BD", "%E6%98%8E", "%E5%8D%8E"}
local targets = {}
for i = 0, 255 do
  local name = ""
  for k = 0, 1 + i % 5 do
    name = name .. syllables[1 + (i * 7 + k * 3) % #syllables]
  end
  targets[#targets + 1] = "/zb/hf/toutu.php?id=" .. (1 + i % 4) .. "&name=" .. name .. "%20" .. i
end
local next_target = 0
request = function()
  next_target = next_target % #targets + 1
  return wrk.format("GET", targets[next_target])
end
LUA

# nginx with one JPEG of the size of a typical picture, on another free port.
mkdir -p "$work/www" "$work/nginx"
curl -sf -o "$work/www/picture.jpg" "http://127.0.0.1:$service_port/zb/hf/toutu.php?id=1&name=%E5%BC%A0%E4%B8%89%E6%9D%8E%E5%9B%9B"
nginx_port=$(free_port)
user_line=""
[ "$(id -u)" -eq 0 ] && user_line="user root;"
cat >"$work/nginx/nginx.conf" <<CONF
$user_line
daemon off;
worker_processes $(nproc);
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    keepalive_requests 100000000;
    client_body_temp_path $work/nginx/client_body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    types { image/jpeg jpg; }
    server {
        listen 127.0.0.1:$nginx_port;
        root $work/www;
    }
}
CONF
/usr/sbin/nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -e "$work/nginx/error.log" &
nginx_pid=$!
for _ in $(seq 100); do
  curl -sf -o /dev/null "http://127.0.0.1:$nginx_port/picture.jpg" && break
  sleep 0.1
done

# Warm the service's cache: every name drawn once.
wrk -t2 -c8 -d5s -s "$work/names.lua" "http://127.0.0.1:$service_port" >/dev/null

run_wrk() {  # label, output file, wrk arguments...
  local label=$1 out=$2
  shift 2
  echo "== $label: wrk -t2 -c64 -d${seconds}s --latency $*" >&2
  wrk -t2 -c64 -d"${seconds}s" --latency "$@" | tee "$out" >&2
}
run_wrk "biaobai-service, warm cache, varied names" "$work/service.wrk" \
  -s "$work/names.lua" "http://127.0.0.1:$service_port"
run_wrk "nginx, one static JPEG of $(stat -c %s "$work/www/picture.jpg") bytes" "$work/nginx.wrk" \
  "http://127.0.0.1:$nginx_port/picture.jpg"

rate() { awk '/^Requests\/sec:/ {print $2}' "$1"; }
p99() { awk '$1 == "99%" {print $2}' "$1"; }
errors() { awk '/Non-2xx|Socket errors/ {print}' "$1"; }
service_rate=$(rate "$work/service.wrk")
nginx_rate=$(rate "$work/nginx.wrk")
echo
echo "== Google Benchmark: one picture drawn and encoded from scratch"
"$build/bench/bench_service" --benchmark_filter='BM_DrawAndEncodePicture|BM_EncodeJpeg|BM_AnswerFromCache'
echo
echo "== Summary (loopback, $(nproc) cores, wrk -t2 -c64 -d${seconds}s)"
printf "biaobai-service: %10.0f requests/s  p99 %s\n" "$service_rate" "$(p99 "$work/service.wrk")"
printf "nginx static:    %10.0f requests/s  p99 %s\n" "$nginx_rate" "$(p99 "$work/nginx.wrk")"
awk -v s="$service_rate" -v n="$nginx_rate" 'BEGIN { printf "ratio:           %10.1f %% of nginx (goal: at least 60 %%)\n", 100 * s / n }'
errors "$work/service.wrk"
errors "$work/nginx.wrk"
