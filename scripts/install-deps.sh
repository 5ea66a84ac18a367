#!/usr/bin/env bash
# Installs the Debian packages Calorix needs to build, test and run. Nothing else is fetched.
# Usage: scripts/install-deps.sh [extra package...]
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qtbase5-dev qttools5-dev-tools qttranslations5-l10n libzstd-dev liblz4-dev zlib1g-dev
    libtiff-dev
    xvfb xauth fonts-wqy-microhei
    dpkg-dev file poppler-utils
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
