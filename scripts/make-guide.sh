#!/usr/bin/env bash
# Makes the pictures of the user guide (docs/bilder/) from a demo workspace, on a
# virtual display with a window manager, at the size of a 1366 x 768 laptop screen.
# Needs Xvfb, openbox and ImageMagick (installed here when missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
missing=()
for p in openbox imagemagick; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Only the programs the pictures need.
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target tolvimar-cli tolvimar-crgen tolvimar-guideshots
bin="$root/build"
cli="$bin/src/cli/tolvimar-cli"

# A demo game of three turns: a generated world, so that the maps are full.
work="$(mktemp -d)"
trap 'kill $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
ws="$work/ws"
"$cli" --workspace "$ws" init >/dev/null
for turn in 38 39 40; do
    "$bin/tools/crgen/tolvimar-crgen" --size 6M --seed "$turn" --turn "$turn" "$work/cr-$turn.txt" >/dev/null
    "$cli" --workspace "$ws" import --slot 1 --type Kalmora --yes "$work/cr-$turn.txt" >/dev/null
done
"$cli" --workspace "$ws" render-map --slot 1 >/dev/null
sed -i '1s/.*/Nordreich/' "$ws/tolvimar.cfg"

# An alliance server for the picture of "Mit Allianz abgleichen", holding the map of a
# second player: PostgreSQL's programs in the work folder, as "nobody" under root.
pgbin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
as_server=()
mkdir "$work/pg"
if [ "$(id -u)" -eq 0 ]; then
    as_server=(runuser -u nobody --)
    chmod 755 "$work"
    chown nobody "$work/pg"
fi
"${as_server[@]}" "$pgbin/initdb" -D "$work/pg/data" -U anna --auth=trust -E UTF8 \
    --locale=C.UTF-8 --no-sync >/dev/null
port=$((54000 + RANDOM % 1000))
"${as_server[@]}" "$pgbin/pg_ctl" -D "$work/pg/data" -l "$work/pg/log" -w \
    -o "-p $port -k $work/pg -c listen_addresses=localhost" start >/dev/null
trap '"${as_server[@]}" "$pgbin/pg_ctl" -D "$work/pg/data" -m immediate stop >/dev/null 2>&1 || true; kill $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
"$pgbin/createdb" -h "$work/pg" -p "$port" -U anna allianzkarte
server="host=localhost port=$port dbname=allianzkarte user=anna"
"$cli" --workspace "$work/ws2" init >/dev/null
"$bin/tools/crgen/tolvimar-crgen" --size 2M --seed 77 --turn 41 "$work/cr-bert.txt" >/dev/null
"$cli" --workspace "$work/ws2" import --slot 1 --type Kalmora --yes "$work/cr-bert.txt" >/dev/null
"$cli" --workspace "$work/ws2" share --slot 1 --server "$server" push >/dev/null

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
sleep 1
mkdir -p "$root/docs/bilder"
TOLVIMAR_GUIDE_SERVER="$server" DISPLAY="$display" \
    "$bin/tools/guideshots/tolvimar-guideshots" "$ws" "$root/docs/bilder" \
    "$work"/cr-38.txt "$work"/cr-39.txt "$work"/cr-40.txt
