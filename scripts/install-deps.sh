#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the application need (only those missing).
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format libclang-rt-14-dev llvm pkg-config git
    qtbase5-dev qtbase5-private-dev libssh-dev libssl-dev libbenchmark-dev libfontconfig-dev
    openssl openssh-server openssh-client
    fonts-dejavu-core fonts-liberation2 fontconfig xvfb xauth x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
