#!/usr/bin/env bash
# Builds the two packages of a release into dist/: the Debian package
# (compattatore_<version>_<arch>.deb, from a Release build in build-rilascio/) and the Windows ZIP
# (compattatore-<version>-windows-x86_64.zip, from a Release cross build in
# build-rilascio-windows/). Neither build has tests: run scripts/test.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p dist

echo "== pacchetto Debian"
scripts/costruisci.sh rilascio
(cd build-rilascio && cpack -G DEB -B "$PWD/../dist" >/dev/null)

echo "== ZIP per Windows"
scripts/costruisci.sh rilascio-windows
(cd build-rilascio-windows && cpack -G ZIP -B "$PWD/../dist" >/dev/null)

rm -rf dist/_CPack_Packages
ls -l dist/compattatore_*.deb dist/compattatore-*.zip
