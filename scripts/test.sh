#!/usr/bin/env bash
# Installs the dependencies, then builds and runs every test twice: in the
# release build (warnings are errors) and, for the core without Qt, under
# the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset release
cmake --build --preset release
ctest --preset release

cmake --preset asan -DVORLAKIN_BUILD_UI=OFF
cmake --build --preset asan
ctest --preset asan
