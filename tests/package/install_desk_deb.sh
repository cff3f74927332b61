#!/usr/bin/env bash
# The package pralix-desk: what it declares and holds, then installed into a
# fresh dpkg root (its maintainer scripts run outside a chroot with
# DPKG_ROOT, as dpkg's --force-script-chrootless runs them), the installed
# desk serving a real record into the package's own database path, and the
# package reinstalled, removed and purged: the database survives all but
# the purge.
#
#   install_desk_deb.sh BUILD_DIR VERSION [DEB]
#
# With DEB given the package is checked as it is; otherwise cpack makes one
# in a temporary folder.  Exit 77 (skipped) where dpkg cannot be used.
set -euo pipefail

build_dir=$1
version=$2
deb=${3:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/pralix-desk-deb-test.XXXXXX")
source "$(dirname "$0")/desk_rig.sh"
cleanup() {
  kill_desk
  rm -rf "$work"
}
trap cleanup EXIT

for program in dpkg dpkg-deb curl systemd-sysusers deb-systemd-helper; do
  command -v "$program" >/dev/null || skip "$program is missing"
done
force_root=""
[ "$(id -u)" -eq 0 ] || force_root="--force-not-root"

if [ -z "$deb" ]; then
  command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps (dpkg-dev) is missing"
  cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" -D CPACK_COMPONENTS_ALL=desk \
    >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
  deb="$work/out/pralix-desk_${version}_amd64.deb"
fi
[ -f "$deb" ] || fail "no package at $deb"
deb=$(realpath "$deb")
echo "package: $deb"

# What the package declares.
[ "$(dpkg-deb -f "$deb" Package)" = pralix-desk ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), expected $version"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libstdc++6 libqt6core6 libqt6network6 libqt6httpserver6 libqt6sql6 libqt6sql6-sqlite \
           "systemd | systemd-sysusers"; do
  [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = libqt6sql6-psql ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
dpkg-deb -e "$deb" "$work/control"
[ "$(cat "$work/control/conffiles")" = /etc/default/pralix-desk ] || fail "conffiles: $(cat "$work/control/conffiles")"

# What it holds, and nothing of the tool's or of the tests.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $6}' | sed 's| \./| /|' | sort >"$work/contents"
cat >"$work/expected" <<'EOF'
-rw------- /etc/default/pralix-desk
-rw-r--r-- /usr/lib/systemd/system/pralix-desk.service
-rw-r--r-- /usr/lib/sysusers.d/pralix-desk.conf
-rw-r--r-- /usr/share/doc/pralix-desk/changelog.gz
-rw-r--r-- /usr/share/doc/pralix-desk/copyright
-rw-r--r-- /usr/share/doc/pralix-desk/examples/nginx/pralix-desk.conf
-rw-r--r-- /usr/share/lintian/overrides/pralix-desk
-rw-r--r-- /usr/share/man/man8/pralix-desk.8.gz
-rwxr-xr-x /usr/bin/pralix-desk
EOF
sort -o "$work/expected" "$work/expected"
diff "$work/expected" "$work/contents" >&2 || fail "the package's files differ from the list above (< expected, > found)"
dpkg-deb -x "$deb" "$work/extract"
file "$work/extract/usr/bin/pralix-desk" | grep -q ', stripped' || fail "pralix-desk is not stripped"
# The unit beside this machine's targets and slices: verify prints a line
# for every setting it ignores, so any output is a failure.
if command -v systemd-analyze >/dev/null && [ -d /lib/systemd/system ]; then
  mkdir -p "$work/extract/lib/systemd/system"
  cp /lib/systemd/system/*.target /lib/systemd/system/*.slice "$work/extract/lib/systemd/system/"
  systemd-analyze verify --man=no --root="$work/extract" pralix-desk.service >"$work/verify.log" 2>&1 &&
    [ ! -s "$work/verify.log" ] || { cat "$work/verify.log" >&2; fail "systemd-analyze verify finds fault with the unit"; }
  # Its hardening as systemd rates it: 1.4 of 10 now; above 2.0 fails.
  systemd-analyze security --offline=true --threshold=20 --root="$work/extract" pralix-desk.service \
    >"$work/security.log" 2>&1 || { cat "$work/security.log" >&2; fail "the unit's exposure rose above 2.0"; }
fi
if command -v man >/dev/null; then
  warnings=$(MANWIDTH=80 man --warnings -l "$work/extract/usr/share/man/man8/pralix-desk.8.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "man page warnings: $warnings"
fi

# On a machine with nothing installed, apt finds every dependency, the
# recommended PostgreSQL driver too (apt-get -s: a dry run).
if command -v apt-get >/dev/null && ls /var/lib/apt/lists/*_Packages* >/dev/null 2>&1; then
  : >"$work/empty-status"
  apt-get -s -o Dir::State::status="$work/empty-status" -o Debug::NoLocking=1 install "$deb" \
      >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt cannot resolve what the package needs"; }
  for package in pralix-desk libqt6sql6-sqlite libqt6sql6-psql libqt6httpserver6 systemd; do
    grep -q "^Inst $package " "$work/apt.log" || fail "apt would not install $package"
  done
else
  echo "no apt package lists: the dependency check against the archive is left out"
fi

# A fresh dpkg root with an /etc, as every system has.
root="$work/root"
mkdir -p "$root/etc" "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
: >"$root/var/lib/dpkg/available"
dpkg_root() {
  dpkg --root="$root" $force_root --force-depends --force-script-chrootless --log=/dev/null "$@" \
    >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg $*"; }
}
installed() { dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}\n' pralix-desk 2>/dev/null || true; }
dpkg_root -i "$deb"
[ "$(installed)" = "install ok installed" ] || fail "dpkg lists pralix-desk as '$(installed)'"
grep -q '^pralix-desk:x:[0-9]*:[0-9]*:Pralix Desk:/var/lib/pralix-desk:/usr/sbin/nologin$' "$root/etc/passwd" ||
  fail "postinst made no system user: $(cat "$root/etc/passwd" 2>/dev/null)"
wants="$root/etc/systemd/system/multi-user.target.wants/pralix-desk.service"
[ "$(readlink "$wants")" = /usr/lib/systemd/system/pralix-desk.service ] || fail "postinst did not enable the service"

bin="$root/usr/bin/pralix-desk"
out=$("$bin" --version) || fail "pralix-desk --version exited with $?"
[ "$out" = "pralix-desk $version" ] || fail "pralix-desk --version printed '$out'"

# The installed desk keeps a record in the service's database path.
database="sqlite:$root/var/lib/pralix-desk/desk.sqlite"
start_desk "$bin" "$database"
status=$(post_record "http://127.0.0.1:$desk_port/dijagnostika" DESKPKG1)
[ "$status" = 200 ] || fail "POST /dijagnostika answered $status"
stop_desk
fleet() { "$bin" printers --json --database "$database"; }
fleet | grep -q '"ibfm": "DESKPKG1"' || fail "pralix-desk printers --json: $(fleet)"

# Reinstalling (as an upgrade does) and removing keep the database; only
# purge deletes it, with the settings file and the service's links.
dpkg_root -i "$deb"
fleet | grep -q '"ibfm": "DESKPKG1"' || fail "the record is gone after a reinstall"
dpkg_root --remove pralix-desk
[ ! -e "$bin" ] || fail "remove left $bin"
fleet() { "$work/extract/usr/bin/pralix-desk" printers --json --database "$database"; }
fleet | grep -q '"ibfm": "DESKPKG1"' || fail "the record is gone after remove"
[ -f "$root/etc/default/pralix-desk" ] || fail "remove deleted the settings file"
dpkg_root --purge pralix-desk
[ -z "$(installed)" ] || fail "dpkg still lists pralix-desk: $(installed)"
[ ! -e "$root/var/lib/pralix-desk" ] || fail "purge kept /var/lib/pralix-desk"
# Left: the system user (Debian keeps those) and empty folders.
left=$(find "$root" -path "$root/var/lib/dpkg" -prune -o -type f -print -o -type l -print |
       sed "s|^$root||" | grep -v -x -e '/etc/\.pwd\.lock' -e '/etc/passwd-\{0,1\}' -e '/etc/group-\{0,1\}' \
                                     -e '/etc/shadow-\{0,1\}' -e '/etc/gshadow-\{0,1\}' || true)
[ -z "$left" ] || fail "left after purge: $left"
echo "installed, served a record, reinstalled, removed and purged cleanly"
