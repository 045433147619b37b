#!/usr/bin/env bash
# Installs the Debian package as a user would, runs what it installed on a desktop of its own
# (Xvfb, openbox, a private session bus with an unlocked keyring) against the devserver of build/,
# then purges it and checks that the machine is as it was. As root, after ./dev build:
#   tests/package/install-test.sh dist/vexora-ugc-volley_VERSION_ARCH.deb
set -euo pipefail
[ $# -eq 1 ] || { sed -n '5p' "$0" >&2; exit 2; }
deb=$(realpath "$1")
cd "$(dirname "$0")/../.."
devserver=$PWD/build/tools/devserver/vexora-devserver
app_id=com.vexora.ugcvolley
package=$(dpkg-deb -f "$deb" Package)
work=$(mktemp -d)
pids=()
started=$SECONDS
export DEBIAN_FRONTEND=noninteractive

step() { echo "install-test: $* ($((SECONDS - started)) s)"; }
fail() {
  echo "install-test: FAILED: $*" >&2
  for log in "$work"/*.log; do [ -s "$log" ] && { echo "--- ${log##*/}" >&2; tail -n 20 "$log" >&2; }; done
  exit 1
}
# Each process started here leads a session of its own; ending its group ends what it started.
end_all() {
  local pid
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill -TERM -- "-${pids[i]}" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()
}
trap 'end_all; rm -rf "$work"' EXIT
spawn() { local name=$1; shift; setsid "$@" >"$work/$name.out" 2>"$work/$name.log" & pids+=($!); }
wait_for() { local i; for i in $(seq "$1"); do eval "$2" && return 0; sleep 0.1; done; return 1; }

[ "$(id -u)" -eq 0 ] || fail "run it as root: it installs and purges $package"
[ -x "$devserver" ] || fail "no $devserver: run ./dev build first"
case "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)" in
  "" | not-installed) ;;
  *) fail "$package is on this machine already; purge it first" ;;
esac

# What the package can leave behind: entries in the directories it installs into, and records
# of packages. Taken before and after, they must match.
mapfile -t package_dirs < <(dpkg-deb -c "$deb" | awk '$1 ~ /^d/ { sub(/^\./, "", $6); sub(/\/$/, "", $6); print $6 }')
snapshot() {
  local dir
  for dir in "${package_dirs[@]}"; do if [ -d "$dir" ]; then find "$dir" -mindepth 1 -maxdepth 1; fi; done | sort
  dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Abbrev}\n' | sort
}
snapshot >"$work/before"

step "installing ${deb##*/}"
apt-get install -y -q "$deb" >"$work/apt-install.log" 2>&1 || fail "apt-get install"
# Packages apt brought in for it: the purge takes them away again, and nothing else.
comm -13 <(sed -n 's/ ii *$//p' "$work/before" | sort) \
  <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}:${Architecture}\n' | awk '$1 == "ii" { print $2 }' | sort) |
  grep -v "^$package:" >"$work/pulled" || true

step "checking what it installed"
/usr/bin/vexora-ugc --help >"$work/cli-help.log" 2>&1 || fail "vexora-ugc --help"
grep -q '^usage: vexora-ugc' "$work/cli-help.log" || fail "vexora-ugc --help printed no usage"
entry=/usr/share/applications/$app_id.desktop
[ -f "$entry" ] || fail "no menu entry $entry"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ "$(command -v "$exec_program")" = /usr/bin/vexora-ugc-volley ] || fail "the menu entry starts '$exec_program'"
grep -qx "Exec=/usr/bin/vexora-ugc-volley --gapplication-service" "/usr/share/dbus-1/services/$app_id.service" ||
  fail "no D-Bus activation of $app_id"
icon=$(sed -n 's/^Icon=//p' "$entry")
for file in scalable/apps/$icon.svg 48x48/apps/$icon.png symbolic/apps/$icon-symbolic.svg; do
  [ -f "/usr/share/icons/hicolor/$file" ] || fail "the icon $icon has no $file in the hicolor theme"
done
[ -f "/usr/share/metainfo/$app_id.metainfo.xml" ] || fail "no AppStream metainfo"
listing=$(dpkg -L "$package")
if grep -q '^/usr/share/man/man1/vexora-ugc\.1' <<<"$listing"; then
  man -w vexora-ugc >/dev/null || fail "man -w vexora-ugc finds no page"
fi
if grep -q '^/usr/share/bash-completion/completions/' <<<"$listing"; then
  [ -f /usr/share/bash-completion/completions/vexora-ugc ] || fail "no completion named after vexora-ugc"
fi

step "running the installed app on Xvfb against the devserver"
home=$work/home
mkdir -p "$home/.config" "$home/.local/share" "$home/.cache"
mkdir -m 700 "$home/run"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM XAUTHORITY SESSION_MANAGER \
  XDG_SESSION_TYPE XDG_CURRENT_DESKTOP VEXORA_TEST_PRIVATE_BUS
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
  XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/run
spawn xvfb Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp
wait_for 100 '[ -s "$work/xvfb.out" ]' || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$work/xvfb.out")
spawn dbus dbus-daemon --session --nofork --print-address=1
wait_for 100 '[ -s "$work/dbus.out" ]' || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/dbus.out")
has_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
printf test >"$work/keyring-password"
# Unlocked with the password on its standard input (a background job's own is /dev/null).
spawn keyring sh -c 'exec gnome-keyring-daemon --foreground --unlock --components=secrets <"$1"' sh "$work/keyring-password"
wait_for 100 'has_owner org.freedesktop.secrets' || fail "no keyring on the bus"
spawn openbox openbox --sm-disable
wait_for 100 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' || fail "openbox did not start"
spawn devserver "$devserver" --port 0
wait_for 100 '[ -s "$work/devserver.out" ]' || fail "the devserver did not start"
# The production build takes the service's address from the environment as the QA build does;
# it must never reach the real service from a test.
export VEXORA_API_BASE_URL=http://127.0.0.1:$(head -1 "$work/devserver.out")

# The installed CLI signs in; the app then finds that session in the keyring and loads the
# workspace from the devserver, so both run on the production id and honour the address.
echo demo | /usr/bin/vexora-ugc signin --email demo@vexora.local --password-stdin >"$work/signin.log" 2>&1 ||
  fail "vexora-ugc signin against the devserver"
curl -fsS -X DELETE "$VEXORA_API_BASE_URL/__devserver/requests" >/dev/null
spawn app /usr/bin/vexora-ugc-volley
app_pid=${pids[-1]}
# No tray on this desktop: started by hand, the app opens its panel as a window.
wait_for 300 'window=$(xdotool search --onlyvisible --name "^Vexora UGC Volley\$" 2>/dev/null | head -1); [ -n "$window" ]' ||
  fail "no window of the app appeared"
[ "$(xprop -id "$window" _NET_WM_PID | sed 's/.*= //')" = "$app_pid" ] || fail "the window is not the app's"
has_owner "$app_id" || fail "the app does not own $app_id on the session bus"
wait_for 100 'curl -fsS "$VEXORA_API_BASE_URL/__devserver/requests" | grep -q "api/tenants"' ||
  fail "the app loaded no workspace from the devserver"
end_all

step "purging $package"
apt-get purge -y -q "$package" >"$work/apt-purge.log" 2>&1 || fail "apt-get purge"
if [ -s "$work/pulled" ]; then
  step "purging what apt brought in for it: $(tr '\n' ' ' <"$work/pulled")"
  xargs apt-get purge -y -q <"$work/pulled" >>"$work/apt-purge.log" 2>&1 ||
    fail "apt-get purge of its dependencies"
fi
[ -z "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" ] || fail "dpkg still knows $package"
compgen -G "/var/lib/dpkg/info/$package.*" >/dev/null && fail "dpkg keeps files of $package"
snapshot >"$work/after"
diff "$work/before" "$work/after" >"$work/left-behind.log" || fail "the machine is not as it was (< before, > after)"
step "passed"
