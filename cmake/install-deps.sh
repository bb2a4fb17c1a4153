#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping those
# already present. Runs as root (or through sudo when available).
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-tidy libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    python3 python3-scipy pkg-config libsndfile1-dev
    mingw-w64 wine wine64
    zenity xvfb xauth
    libx11-dev libxext-dev libxfixes-dev xdotool x11-apps portaudio19-dev
    libcairo2-dev libfreetype-dev libimagequant-dev libpng-dev fonts-dejavu-core
    lv2-dev liblilv-dev lilv-utils sordi calf-plugins
    jalv jackd2 x11-utils
    debhelper lintian nsis groff-base
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

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
