# Sourced by the desk's package and nginx checks: start the real desk on a
# free loopback port, post DiagData records with curl, stop the desk with
# SIGTERM.  The sourcing script sets $work (a temporary folder) first.

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

desk_pid=""
desk_port=""

# start_desk BIN DATABASE_URL [SERVE OPTION]...: sets desk_pid and desk_port
# from its first line, "listening on http://127.0.0.1:PORT".
start_desk() {
  local bin=$1 database=$2
  shift 2
  "$bin" serve --listen 127.0.0.1:0 --database "$database" "$@" >"$work/desk.out" 2>"$work/desk.err" &
  desk_pid=$!
  for _ in $(seq 300); do
    grep -q '^listening on ' "$work/desk.out" && break
    kill -0 "$desk_pid" 2>/dev/null || fail "the desk ended before listening: $(cat "$work/desk.err")"
    sleep 0.1
  done
  desk_port=$(sed -n 's|^listening on http://127\.0\.0\.1:\([0-9][0-9]*\)$|\1|p' "$work/desk.out")
  [ -n "$desk_port" ] || fail "the desk named no port: $(cat "$work/desk.out" "$work/desk.err")"
}

# stop_desk: SIGTERM, after which the desk ends by itself with status 0.
stop_desk() {
  kill -TERM "$desk_pid"
  local status=0
  wait "$desk_pid" || status=$?
  desk_pid=""
  [ "$status" -eq 0 ] || fail "the desk ended with status $status after SIGTERM: $(cat "$work/desk.err")"
}

kill_desk() { [ -z "$desk_pid" ] || kill "$desk_pid" 2>/dev/null || true; }

# record_body IBFM: a whole DiagData record as the tool posts it.
record_body() {
  printf 'ibfm=%s&pib=123456789&fw=1.22SR+09NOV03+1230%%2CBB78&jx=10.0%%2F10.2.5&tg=010110000' "$1"
  printf '&bpdi=899&plu=150&cp=COM3%%2FSer&diff=00%%3A02&h6l=PRODAVNICA%%0D%%0ABeograd%%0D%%0ADIAG%%0A'
}

# post_record URL IBFM [CURL OPTION]...: posts one record; prints the status.
post_record() {
  local url=$1 ibfm=$2
  shift 2
  curl -s -o /dev/null -w '%{http_code}' -H 'Content-Type: application/x-www-form-urlencoded' \
    --data-binary "$(record_body "$ibfm")" "$@" "$url"
}
