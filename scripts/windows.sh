#!/usr/bin/env bash
# The program on Windows: cross-builds it and its tests (build-windows/, Release, mingw-w64,
# statically linked), runs the tests under Wine (scripts/wine.sh), compares the files and messages
# of the Windows and the Linux program byte for byte (scripts/confronta_windows.sh), and checks
# that Ctrl+C on a console leaves no lock file behind (scripts/interruzione_windows.sh). Installs
# what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== build-windows (Windows x86_64, mingw-w64)"
# Release: the program as it ships. The tests and GoogleTest are built without optimisation
# (see CMakeLists.txt), which costs them nothing at run time and halves their build.
scripts/costruisci.sh windows

stato=0
scripts/wine.sh --prepara
ctest --preset windows -j"$(nproc)" || stato=$?
scripts/wine.sh --fine

echo "== stessi byte su Linux e su Windows"
scripts/confronta_windows.sh || stato=$?
echo "== Ctrl+C su una console Windows"
scripts/interruzione_windows.sh || stato=$?
exit "$stato"
