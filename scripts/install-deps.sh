#!/usr/bin/env bash
# Installs, with apt-get, every Debian package the build, the tests and the program need.
# Packages that are already installed are left alone; nothing is fetched when all are there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6svg6 libgl1-mesa-dev qt6-translations-l10n
    libsqlite3-dev sqlite3
    libjpeg-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    fonts-dejavu-core fonts-liberation2
    xvfb xauth libxml2-utils poppler-utils clang-format
    chromium
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

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
