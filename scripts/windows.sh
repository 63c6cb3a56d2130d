#!/usr/bin/env bash
# Cross-builds the program and its tests for 64-bit Windows (mingw-w64, statically linked) into
# build-windows/, runs the tests under Wine, in a Wine prefix of the build's own
# (build-windows/wine, created on the first run), then compares the files the Windows program
# writes with those of the Linux build, byte for byte (scripts/confronta_windows.sh, with the
# Linux program of build/, brought up to date first), and checks that Ctrl+C on a console
# leaves no lock file behind (scripts/interruzione_windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/requisiti.sh cmake make g++ g++-mingw-w64-x86-64-posix googletest nlohmann-json3-dev wine wine64
cartella=build-windows
export WINEPREFIX="$PWD/$cartella/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

echo "== $cartella (Windows x86_64, mingw-w64)"
# Release: the program as it ships. The tests and GoogleTest are built without optimisation
# (see CMakeLists.txt), which costs them nothing at run time and halves their build.
cmake -S . -B "$cartella" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$cartella" -j"$(nproc)"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # A new prefix, without a display: no Mono or Gecko (the DLL overrides above), and the time
  # limit keeps a stuck first start from blocking the run.
  echo "== prefisso Wine: $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  if ! timeout 300 wineboot --init >"$cartella/wineboot.log" 2>&1; then
    cat "$cartella/wineboot.log" >&2
    exit 1
  fi
  timeout 120 wineserver -w
fi

stato=0
ctest --test-dir "$cartella" --output-on-failure -j"$(nproc)" || stato=$?
# The Wine server of the prefix stays up a few seconds after the last program; wait for it, so
# that nothing of this run is left behind.
timeout 60 wineserver -w || true

echo "== stessi byte su Linux e su Windows"
cmake -S . -B build >/dev/null
cmake --build build --target compattatore -j"$(nproc)" >/dev/null
scripts/confronta_windows.sh build/compattatore "$cartella/compattatore.exe" || stato=$?
echo "== Ctrl+C su una console Windows"
scripts/interruzione_windows.sh "$cartella" || stato=$?
exit "$stato"
