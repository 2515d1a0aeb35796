#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the assistant need.
# Safe to run again: packages that are already installed are left alone.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev libgl-dev
    qt6-translations-l10n
    clang libclang-rt-dev
    xvfb xauth fonts-dejavu-core
    dpkg-dev file lintian appstream desktop-file-utils man-db
    libpq-dev postgresql
    libcurl4-openssl-dev qtkeychain-qt6-dev python3-aiosmtpd openssl
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
# The tests start PostgreSQL servers of their own; the package need not set up and
# start the system's cluster.
if [[ " ${missing[*]} " == *" postgresql "* ]] && [ ! -e /etc/postgresql-common/createcluster.d/tolvimar.conf ]; then
    "${sudo_cmd[@]}" mkdir -p /etc/postgresql-common/createcluster.d
    echo "create_main_cluster = false" | "${sudo_cmd[@]}" tee /etc/postgresql-common/createcluster.d/tolvimar.conf >/dev/null
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
