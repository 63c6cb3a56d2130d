#!/usr/bin/env bash
# Times the plain run of the embedded scenario: an optimised build, then N runs (default 20) in a
# temporary folder; prints the mean and the fastest wall-clock time in milliseconds.
set -euo pipefail
cd "$(dirname "$0")/.."
giri=${1:-20}
cmake -S . -B build-bench -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target compattatore -j"$(nproc)" >/dev/null
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
tempi=()
for _ in $(seq "$giri"); do
  inizio=$(date +%s%N)
  ./build-bench/compattatore --dir "$cartella" >/dev/null
  fine=$(date +%s%N)
  tempi+=($(( (fine - inizio) / 1000 )))
done
printf '%s\n' "${tempi[@]}" | awk -v n="$giri" '{ s += $1; if (NR == 1 || $1 < m) m = $1 }
  END { printf "corsa incorporata, %d giri: media %.1f ms, minimo %.1f ms\n", n, s / n / 1000, m / 1000 }'
