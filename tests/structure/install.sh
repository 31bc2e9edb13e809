#!/usr/bin/env bash
# The installed program: cmake --install puts the program folder under <prefix>/lib/velomira with links
# in <prefix>/bin. The links render a shipped template, and with the program folder read-only the
# program still starts and keeps its settings and log in the user's XDG folders.
# Usage: install.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "$1")
tmp=$(mktemp -d)
pid=
cleanup() {
    [[ -z $pid ]] || kill -9 "$pid" 2>/dev/null || true
    chmod -R u+w "$tmp" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

chmod 755 "$tmp"
prefix="$tmp/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null
folder="$prefix/lib/velomira"
for item in velomira velomira-render libjotwell.so Skins/new.bmp Skins/new@2x.bmp Template Help/index.html; do
    [[ -e $folder/$item ]] || fail "$folder/$item was not installed"
done
for program in velomira velomira-render; do
    [[ $(readlink "$prefix/bin/$program") == "../lib/velomira/$program" ]] || fail "$prefix/bin/$program is no link"
done

# The installed folder is read-only for the user who runs it: as root the programs run as nobody, whom
# the installed files do not let write; otherwise write permission is taken away.
home="$tmp/home"
mkdir -p "$home"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
    chown 65534:65534 "$home"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
else
    chmod -R a-w "$folder"
fi
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_STATE_HOME="$home/state" XDG_CACHE_HOME="$home/cache" \
    QT_QPA_PLATFORM=offscreen
unset XDG_RUNTIME_DIR

template=$(ls "$folder"/Template/cards/*/temp1.xml | head -n 1)
"${as_user[@]}" "$prefix/bin/velomira-render" --width 400 "$template" "$home/card.png" || fail "rendering $template"
[[ -s $home/card.png ]] || fail "no picture written"

version=$("${as_user[@]}" "$prefix/bin/velomira" --version) || fail "velomira --version failed"
[[ $version == "Velomira 2.0.0.0" ]] || fail "velomira --version said '$version'"

log="$home/state/velomira/Jotwell/velomira.log"
"${as_user[@]}" "$prefix/bin/velomira" >"$tmp/gui.out" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
    grep -q "Start Velomira" "$log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "velomira ended at start-up: $(cat "$tmp/gui.out")"
    sleep 0.1
done
grep -q "Start Velomira" "$log" 2>/dev/null || fail "no start line in $log: $(cat "$tmp/gui.out")"
# Ending the session closes the program in order: the settings are written and the quit line logged.
kill -TERM "$pid"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "velomira did not end on SIGTERM"
wait "$pid" || fail "velomira ended with status $? on SIGTERM"
pid=

config="$home/config/velomira/config.ini"
grep -q '^\[system\]' "$config" 2>/dev/null || fail "no settings written to $config"
grep -q "Quit Velomira" "$log" || fail "no quit line in $log"
[[ ! -e $folder/config.ini && ! -e $folder/Jotwell ]] || fail "the program wrote into its read-only folder"
echo "Installed under $prefix; read-only start kept config.ini in $config and the log in $log"
