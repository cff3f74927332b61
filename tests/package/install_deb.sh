#!/usr/bin/env bash
# Builds the .deb from a built tree, installs it into a fresh dpkg root (no
# chroot: the package has no maintainer scripts, and the programs run against
# this machine's libraries), runs the installed programs, and removes the
# package again, checking that it leaves nothing behind.
#
#   install_deb.sh BUILD_DIR VERSION [DEB]
#
# With DEB given the package is checked as it is; otherwise cpack makes one
# in a temporary folder.  Exit 77 (skipped) where dpkg cannot be used.
set -euo pipefail

build_dir=$1
version=$2
deb=${3:-}

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

command -v dpkg-deb >/dev/null || skip "dpkg-deb is missing"
command -v dpkg >/dev/null || skip "dpkg is missing"
force_root=""
[ "$(id -u)" -eq 0 ] || force_root="--force-not-root"

work=$(mktemp -d "${TMPDIR:-/tmp}/pralix-deb-test.XXXXXX")
sim_pid=""
cleanup() {
  [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ -z "$deb" ]; then
  command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps (dpkg-dev) is missing"
  grep -q '^PRALIX_RSVG_CONVERT:FILEPATH=.*NOTFOUND' "$build_dir/CMakeCache.txt" &&
    skip "rsvg-convert (librsvg2-bin) was missing when the tree was configured: no PNG icons to package"
  cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" -D CPACK_COMPONENTS_ALL=tool \
    >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
  deb="$work/out/pralix_${version}_amd64.deb"
fi
[ -f "$deb" ] || fail "no package at $deb"
deb=$(realpath "$deb")  # apt takes a file only by a path with a slash in front
echo "package: $deb"

# What the package declares and holds.
[ "$(dpkg-deb -f "$deb" Package)" = pralix ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), expected $version"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6serialport6 libqt6network6 qt6-qpa-plugins; do
  [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] || fail "Depends lacks $dep: $depends"
done
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | sort >"$work/contents"
for path in /usr/bin/pralix /usr/bin/pralix-printer-sim \
            /usr/share/applications/pralix.desktop \
            /usr/share/icons/hicolor/scalable/apps/pralix.svg \
            /usr/share/icons/hicolor/48x48/apps/pralix.png \
            /usr/share/icons/hicolor/256x256/apps/pralix.png \
            /usr/share/man/man1/pralix.1.gz /usr/share/man/man1/pralix-printer-sim.1.gz \
            /usr/share/bash-completion/completions/pralix \
            /usr/share/lintian/overrides/pralix \
            /usr/share/doc/pralix/copyright /usr/share/doc/pralix/changelog.gz; do
  grep -qx "$path" "$work/contents" || fail "$path is not in the package"
done
if grep -Ei 'gtest|gmock|benchmark|_tests$|\.a$|/include/|/lib/cmake' "$work/contents"; then
  fail "test or development files in the package"
fi
dpkg-deb -x "$deb" "$work/extract"
for program in pralix pralix-printer-sim; do
  file "$work/extract/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
done

# On a machine with nothing installed, apt finds every dependency in the
# archive it knows (apt-get -s: a dry run; nothing is downloaded).
if command -v apt-get >/dev/null && ls /var/lib/apt/lists/*_Packages* >/dev/null 2>&1; then
  : >"$work/empty-status"
  apt-get -s -o Dir::State::status="$work/empty-status" -o Debug::NoLocking=1 install "$deb" \
      >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt cannot resolve what the package needs"; }
  grep -q '^Inst qt6-qpa-plugins ' "$work/apt.log" || fail "apt would not install the Qt platform plug-ins"
  grep -q '^Inst pralix ' "$work/apt.log" || fail "apt would not install pralix"
else
  echo "no apt package lists: the dependency check against the archive is left out"
fi

# A fresh dpkg root: its own database, nothing installed.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
: >"$root/var/lib/dpkg/available"
dpkg_root() { dpkg --root="$root" $force_root --force-depends --log=/dev/null "$@"; }
dpkg_root -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i"; }
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}\n' pralix | grep -q 'install ok installed' ||
  fail "dpkg does not list pralix as installed"

bin="$root/usr/bin"
out=$("$bin/pralix" --version) || fail "pralix --version exited with $?"
[ "$out" = "pralix $version" ] || fail "pralix --version printed '$out'"
"$bin/pralix" --help | grep -q 'pralix test' || fail "pralix --help"

# pralix ports: a port named in PRALIX_EXTRA_PORTS is listed with its tag.
ports_status=0
out=$(PRALIX_EXTRA_PORTS="$work/ttyFP" "$bin/pralix" ports) || ports_status=$?
[ "$ports_status" -eq 0 ] || fail "pralix ports exited with $ports_status"
grep -qx "$work/ttyFP Ext" <<<"$out" || fail "pralix ports printed: $out"

# The installed tool against the installed simulator: the printer's clock.
"$bin/pralix-printer-sim" --model 0 --link "$work/ttyFP" >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 1 100); do [ -e "$work/ttyFP" ] && break; sleep 0.1; done
[ -e "$work/ttyFP" ] || { cat "$work/sim.err" >&2; fail "the installed simulator made no port"; }
send_status=0
out=$(timeout 60 "$bin/pralix" send --port "$work/ttyFP" 62) || send_status=$?
[ "$send_status" -eq 0 ] || fail "pralix send 62 exited with $send_status: $out"
grep -q '^Code: *0$' <<<"$out" || fail "pralix send 62 printed: $out"
kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true; sim_pid=""

# The man pages read without complaint from man where it is there.
if command -v man >/dev/null; then
  warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/pralix.1.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "man page warnings: $warnings"
fi

# Removal leaves no file of the package and none of its folders.
dpkg_root --purge pralix >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg --purge"; }
left=$(find "$root" -mindepth 1 -path "$root/var/lib/dpkg" -prune -o -print |
       grep -v -x -e "$root/var" -e "$root/var/lib" || true)
[ -z "$left" ] || fail "left after removal: $left"
ls "$root/var/lib/dpkg/info" | grep -q '^pralix\.' && fail "dpkg still keeps files of pralix"
echo "installed, ran and removed cleanly"
