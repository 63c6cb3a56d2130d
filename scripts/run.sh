#!/usr/bin/env bash
# Builds the program and runs the plain compile of the embedded scenario. The files appear beside
# the executable, in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/requisiti.sh cmake g++ make nlohmann-json3-dev
cmake -S . -B build -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target compattatore -j"$(nproc)"
./build/compattatore "$@"
