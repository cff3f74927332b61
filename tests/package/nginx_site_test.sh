#!/usr/bin/env bash
# The shipped nginx site in front of the real desk: Debian's nginx runs the
# site file with only its ports and certificate paths changed, a self-signed
# certificate made here, and pralix-desk on SQLite behind it.  Clients come
# from different loopback addresses (127.0.0.2 and up), so each has its own
# rate limit and the address the desk stores shows whose request it was.
#
#   nginx_site_test.sh SITE_FILE DESK_BIN
#
# Exit 77 (skipped) without nginx, openssl, curl or sqlite3.
set -euo pipefail

site=$1
desk_bin=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/pralix-desk-nginx-test.XXXXXX")
source "$(dirname "$0")/desk_rig.sh"
nginx_pid=""
cleanup() {
  [ -z "$nginx_pid" ] || kill -QUIT "$nginx_pid" 2>/dev/null || true
  kill_desk
  rm -rf "$work"
}
trap cleanup EXIT

for program in nginx openssl curl sqlite3; do
  command -v "$program" >/dev/null || skip "$program is missing"
done

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=desk.example.com \
  -keyout "$work/desk.key" -out "$work/desk.pem" >"$work/openssl.log" 2>&1 ||
  { cat "$work/openssl.log" >&2; fail "openssl could not make a certificate"; }
start_desk "$desk_bin" "sqlite:$work/desk.sqlite" --trusted-proxy 127.0.0.1
count() { sqlite3 "$work/desk.sqlite" "SELECT count(*) FROM records WHERE client_address = '$1'"; }

# The site with its ports and paths set for this run; nothing else changes.
# The IPv6 listen lines go: loopback may have no IPv6.
site_for() {
  sed -e "s|^\( *listen \)80;|\1127.0.0.1:$1;|" -e "s|^\( *listen \)443 |\1127.0.0.1:$2 |" \
      -e '/^ *listen \[::\]:/d' \
      -e "s|/etc/ssl/certs/desk.example.com.pem|$work/desk.pem|" \
      -e "s|/etc/ssl/private/desk.example.com.key|$work/desk.key|" \
      -e "s|http://127.0.0.1:8080;|http://127.0.0.1:$desk_port;|" "$site" >"$work/site.conf"
  if grep -v '^ *#' "$work/site.conf" | grep -E 'listen (\[::\]:)?(80|443)[ ;]|/etc/ssl/|:8080' >&2; then
    fail "the site file has a port or path this test does not know how to set"
  fi
}
# The frame Debian's /etc/nginx/nginx.conf gives a site, with its files here.
mkdir -p "$work/temp"
cat >"$work/nginx.conf" <<EOF
$([ "$(id -u)" -ne 0 ] || echo "user root;")
worker_processes 1;
error_log $work/error.log;
events { worker_connections 64; }
http {
    include /etc/nginx/mime.types;
    default_type application/octet-stream;
    ssl_protocols TLSv1 TLSv1.1 TLSv1.2 TLSv1.3;
    ssl_prefer_server_ciphers on;
    access_log $work/access.log;
    client_body_temp_path $work/temp/body;
    proxy_temp_path $work/temp/proxy;
    fastcgi_temp_path $work/temp/fastcgi;
    uwsgi_temp_path $work/temp/uwsgi;
    scgi_temp_path $work/temp/scgi;
    include $work/site.conf;
}
EOF
nginx_files=(-e "$work/error.log" -p "$work" -c "$work/nginx.conf")

# Two free ports: another program may take one first, so a few tries.
for _ in 1 2 3 4 5; do
  http_port=$((20000 + RANDOM % 20000))
  https_port=$((http_port + 1))
  site_for "$http_port" "$https_port"
  nginx "${nginx_files[@]}" -t >"$work/nginx-t.log" 2>&1 || { cat "$work/nginx-t.log" >&2; fail "nginx -t rejects the site"; }
  nginx "${nginx_files[@]}" -g "daemon off; pid $work/nginx.pid;" 2>>"$work/error.log" &
  nginx_pid=$!
  for _ in $(seq 100); do
    curl -s -o /dev/null "http://127.0.0.1:$http_port/" && break
    kill -0 "$nginx_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$nginx_pid" 2>/dev/null && break
  wait "$nginx_pid" || true
  nginx_pid=""
  grep -q 'Address already in use' "$work/error.log" || { cat "$work/error.log" >&2; fail "nginx did not start"; }
done
[ -n "$nginx_pid" ] || fail "no free ports for nginx"
http="http://127.0.0.1:$http_port"
https=(--cacert "$work/desk.pem" --resolve "desk.example.com:$https_port:127.0.0.1")
https_url="https://desk.example.com:$https_port"

# A record over plain HTTP is stored with the address nginx saw, not the
# one the client forged.
status=$(post_record "$http/dijagnostika" NGINX0001 --interface 127.0.0.2 -H 'X-Forwarded-For: 1.2.3.4')
[ "$status" = 200 ] || fail "POST over plain HTTP answered $status"
[ "$(count 127.0.0.2)" = 1 ] || fail "stored addresses: $(sqlite3 "$work/desk.sqlite" 'SELECT client_address FROM records')"

# A body over 64 KiB stops at nginx (its own error page), before the desk.
before=$(sqlite3 "$work/desk.sqlite" 'SELECT count(*) FROM records')
head -c $((65 * 1024)) /dev/zero | tr '\0' a >"$work/65k"
status=$(curl -s -o "$work/413.html" -w '%{http_code}' --interface 127.0.0.2 --data-binary @"$work/65k" \
           -H 'Content-Type: application/x-www-form-urlencoded' "$http/dijagnostika" || true)
[ "$status" = 413 ] && grep -q '<center>nginx</center>' "$work/413.html" ||
  fail "a 65 KiB body answered $status: $(cat "$work/413.html")"
[ "$(sqlite3 "$work/desk.sqlite" 'SELECT count(*) FROM records')" = "$before" ] || fail "the 65 KiB body stored something"

# Plain HTTP passes on POST /dijagnostika only; the rest goes to HTTPS.
while read -r method path; do
  out=$(curl -s -o /dev/null -w '%{http_code} %{redirect_url}' -X "$method" "$http$path")
  [[ "$out" == "301 https://127.0.0.1$path" ]] || fail "$method $path over plain HTTP answered '$out'"
done <<'EOF'
GET /
GET /dijagnostika
POST /login
GET /printers?sort=pib
EOF

# Over HTTPS the desk answers, the same as it does directly; nginx names no
# version.
direct=$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$desk_port/")
headers=$(curl -s -o /dev/null -D - "${https[@]}" "$https_url/")
[[ "$headers" =~ ^HTTP/[0-9.]+\ $direct ]] || fail "GET / over HTTPS: $headers (the desk answers $direct)"
grep -qix $'server: nginx\r' <<<"$headers" || fail "the Server header names more than nginx: $headers"
status=$(post_record "$https_url/dijagnostika" NGINX0002 "${https[@]}" --interface 127.0.0.5)
[ "$status" = 200 ] && [ "$(count 127.0.0.5)" = 1 ] || fail "POST over HTTPS answered $status"

# Rate limit per address: burst=40 lets the first 41 quick records through;
# at 2 a minute, at least one of the next three gets 429 unless sending
# them took over 90 s.  Every 200 is a stored record, no 429 is.
statuses=()
for n in $(seq 44); do
  statuses+=("$(post_record "$http/dijagnostika" "BURST$n" --interface 127.0.0.3)")
done
for n in $(seq 0 40); do
  [ "${statuses[n]}" = 200 ] || fail "record $((n + 1)) of the burst answered ${statuses[n]}: ${statuses[*]}"
done
[[ " ${statuses[*]:41} " == *" 429 "* ]] || fail "no 429 after the burst: ${statuses[*]}"
stored=$(printf '%s\n' "${statuses[@]}" | grep -c '^200$')
[ "$(count 127.0.0.3)" = "$stored" ] || fail "$(count 127.0.0.3) records stored for $stored answered 200"
status=$(post_record "$http/dijagnostika" NGINX0004 --interface 127.0.0.4)
[ "$status" = 200 ] || fail "another address after the burst answered $status"

kill -QUIT "$nginx_pid"
wait "$nginx_pid" || true
nginx_pid=""
stop_desk
echo "nginx passed, limited and redirected as the site says"
