#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing biaobai needs.
# Idempotent: when everything is present it prints nothing and changes nothing.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev libgl-dev libxcb1-dev libcurl4-openssl-dev libjpeg62-turbo-dev libgif-dev libpng-dev
  libboost-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  # running the window and drawing the pictures
  fonts-noto-cjk fonts-dejavu-core fonts-wqy-microhei
  # tests: real X server, window manager, input, image encoders, servers
  xvfb openbox xdotool wmctrl x11-xserver-utils x11-utils x11-apps
  imagemagick python3 python3-pil gifsicle libjpeg-turbo-progs
  nginx-light openssl ca-certificates curl wrk procps
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
