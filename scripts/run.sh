#!/usr/bin/env bash
# Installs the dependencies, builds, and runs what the program has so far.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset release
cmake --build --preset release

# The window does not exist yet: run the text toolkit's benchmark.
./build/release/bench/text_bench --benchmark_min_time=0.2
