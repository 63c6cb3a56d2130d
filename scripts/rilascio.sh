#!/usr/bin/env bash
# Builds the two packages of a release into dist/: the Debian package
# (compattatore_<version>_<arch>.deb, from a Release build in build-rilascio/) and the Windows ZIP
# (compattatore-<version>-windows-x86_64.zip, from a Release cross build in
# build-rilascio-windows/). Neither build has tests: run scripts/test.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/requisiti.sh cmake make g++ dpkg-dev g++-mingw-w64-x86-64-posix
mkdir -p dist

echo "== pacchetto Debian"
cmake -S . -B build-rilascio -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCOMPATTATORE_BANCO=OFF >/dev/null
cmake --build build-rilascio -j"$(nproc)"
(cd build-rilascio && cpack -G DEB -B "$PWD/../dist" >/dev/null)

echo "== ZIP per Windows"
cmake -S . -B build-rilascio-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-rilascio-windows -j"$(nproc)"
(cd build-rilascio-windows && cpack -G ZIP -B "$PWD/../dist" >/dev/null)

rm -rf dist/_CPack_Packages
ls -l dist/compattatore_*.deb dist/compattatore-*.zip
