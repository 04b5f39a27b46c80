#!/usr/bin/env bash
# Sets up (or tears down) the https servers of the TLS fetch tests:
#   tls_fixture.sh setup DIR    makes a test CA limited to loopback names, adds it
#                               to the system certificate store, and starts nginx
#                               on 127.0.0.1 with a certificate from it, one from
#                               a stranger, and a plain http server
#   tls_fixture.sh cleanup DIR  stops that nginx and takes the CA out again
# When the setup cannot be done it writes the reason to DIR/skip and succeeds, and
# the tests skip with that reason.
set -euo pipefail
action=$1
dir=$2
store=/usr/local/share/ca-certificates

cleanup() {
  if [ -f "$dir/nginx.pid" ]; then
    pid=$(cat "$dir/nginx.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  if [ -f "$dir/ca-name" ]; then
    ca_name=$(cat "$dir/ca-name")
    rm -f "$store/$ca_name"
    # update-ca-certificates rebuilds the bundle without it but leaves the links
    # that pointed at it, so take ours out by hand.
    pem="${ca_name%.crt}.pem"
    find /etc/ssl/certs -maxdepth 1 -type l -lname "$pem" -delete
    rm -f "/etc/ssl/certs/$pem"
    update-ca-certificates >/dev/null 2>&1
  fi
  rm -f "$dir"/*.key "$dir/nginx.pid" "$dir/ca-name"
}

skip() {
  echo "$1" >"$dir/skip"
  exit 0
}

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

port_free() {
  /usr/bin/python3 -c "import socket,sys; s=socket.socket(); s.bind(('127.0.0.1', $1))" 2>/dev/null
}

write_config() {  # $1: extra listen line for the trusted server
  cat >"$dir/nginx.conf" <<CONF
daemon on;
master_process off;
pid $dir/nginx.pid;
error_log $dir/error.log;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $dir/tmp/body;
  proxy_temp_path $dir/tmp/proxy;
  fastcgi_temp_path $dir/tmp/fastcgi;
  uwsgi_temp_path $dir/tmp/uwsgi;
  scgi_temp_path $dir/tmp/scgi;
  log_format raw '\$request|\$http_host|\$http_user_agent|\$http_accept|\$http_referer';
  server {
    listen 127.0.0.1:$trusted ssl;
    $1
    ssl_certificate $dir/server.crt;
    ssl_certificate_key $dir/server.key;
    root $dir/www;
    access_log $dir/access.log raw;
    location = /to-http { return 302 http://127.0.0.1:$plain/hello.txt; }
  }
  server {
    listen 127.0.0.1:$stranger ssl;
    ssl_certificate $dir/stranger.crt;
    ssl_certificate_key $dir/stranger.key;
    root $dir/www;
  }
  server {
    listen 127.0.0.1:$plain;
    root $dir/www;
    location = /to-https { return 302 https://127.0.0.1:$trusted/hello.txt; }
  }
}
CONF
}

case "$action" in
cleanup)
  cleanup
  exit 0
  ;;
setup) ;;
*)
  echo "usage: $0 setup|cleanup DIR" >&2
  exit 2
  ;;
esac

cleanup 2>/dev/null || true
rm -rf "$dir"
mkdir -p "$dir/www" "$dir/tmp"
[ "$(id -u)" -eq 0 ] || skip "adding a test CA to the system certificate store needs root"
for tool in nginx openssl update-ca-certificates; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

cd "$dir"
ssl() { openssl "$@" >/dev/null 2>&1; }
# The CA may only vouch for loopback names, and its key is gone once the server
# certificate is signed.
ssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 -subj "/CN=biaobai loopback test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -addext "nameConstraints=critical,permitted;IP:127.0.0.0/255.0.0.0,permitted;DNS:localhost"
ssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=127.0.0.1"
printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' >server.ext
ssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt -days 2 -extfile server.ext
rm -f ca.key server.csr ca.srl
ssl req -x509 -newkey rsa:2048 -nodes -keyout stranger.key -out stranger.crt -days 2 -subj "/CN=127.0.0.1" \
  -addext "subjectAltName=IP:127.0.0.1"
[ -s server.crt ] && [ -s stranger.crt ] || skip "openssl could not make the test certificates"

ca_name="biaobai-test-ca-$(printf %s "$dir" | sha256sum | cut -c1-12).crt"
cp ca.crt "$store/$ca_name"
echo "$ca_name" >ca-name
update-ca-certificates >/dev/null 2>&1 || skip "update-ca-certificates failed"

printf 'Hello over TLS\n' >www/hello.txt
head -c 300000 /dev/urandom >www/picture.bin

trusted=$(free_port)
stranger=$(free_port)
plain=$(free_port)
default_port=0
if port_free 443; then
  write_config "listen 127.0.0.1:443 ssl;"
  nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" 2>/dev/null && default_port=1
fi
if [ "$default_port" -eq 0 ]; then
  write_config ""
  nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" || skip "nginx did not start: $(tail -n 3 "$dir/error.log" 2>/dev/null)"
fi
for _ in $(seq 50); do [ -f nginx.pid ] && break; sleep 0.1; done
printf 'trusted %s\nstranger %s\nplain %s\ndefault443 %s\n' "$trusted" "$stranger" "$plain" "$default_port" >servers
