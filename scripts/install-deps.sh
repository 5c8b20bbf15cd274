#!/usr/bin/env bash
# Installs what Vorlakin needs to build, test and run, from Debian 12's
# packages. Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  # the program
  qt6-base-dev libcurl4-openssl-dev fonts-wqy-microhei
  # tests and benchmarks
  libgtest-dev libgmock-dev libcpp-httplib-dev libbenchmark-dev
  libsimdjson-dev nlohmann-json3-dev curl
  # a real X server for the window without a desktop, and screenshots
  xvfb xauth openbox imagemagick x11-utils
)

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${packages[@]}"
