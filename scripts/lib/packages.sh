# Sourced by the scripts: installs the Debian packages that are really
# missing, and calls apt-get not at all when every one is there.

# Prints the names among the arguments that dpkg does not have installed.
missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii' || echo "$p"
  done
}

ensure_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  local sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  local log
  log=$(mktemp)
  if ! { $sudo_cmd apt-get update -qq &&
         DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
       >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    return 2
  fi
  rm -f "$log"
}
