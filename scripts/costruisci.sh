#!/usr/bin/env bash
# Builds one configuration of the program, each in a folder of its own, after installing the
# Debian packages it needs. The configurations are the presets of CMakePresets.json:
#
#   sviluppo          build/                   the program and every test (run.sh, test.sh)
#   sanitizer         build-asan/              the same with AddressSanitizer and UBSan (test.sh)
#   windows           build-windows/           cross-built for Windows; tests under Wine (windows.sh)
#   banco             build-bench/             Release, the benchmark tools (bench.sh)
#   rilascio          build-rilascio/          Release, no tests: the Debian package (rilascio.sh)
#   rilascio-windows  build-rilascio-windows/  the same for Windows: the ZIP (rilascio.sh)
#
# Every script builds through here, so a folder is always configured the same way.
#
#   scripts/costruisci.sh CONFIGURAZIONE [TARGET...]    (no target: everything)
set -euo pipefail
cd "$(dirname "$0")/.."

configurazione=${1:?"uso: scripts/costruisci.sh CONFIGURAZIONE [TARGET...]"}
shift
case $configurazione in
  sviluppo | sanitizer)
    pacchetti=(cmake make g++ nlohmann-json3-dev libgtest-dev libssl-dev libpng-dev
      python3-jsonschema cmark-gfm groff-base) ;;
  windows) pacchetti=(cmake make g++-mingw-w64-x86-64-posix googletest nlohmann-json3-dev wine wine64
    cmark-gfm) ;;
  banco) pacchetti=(cmake make g++ nlohmann-json3-dev cmark-gfm) ;;
  rilascio) pacchetti=(cmake make g++ nlohmann-json3-dev dpkg-dev cmark-gfm) ;;
  rilascio-windows) pacchetti=(cmake make g++-mingw-w64-x86-64-posix nlohmann-json3-dev cmark-gfm) ;;
  *)
    echo "costruisci.sh: configurazione sconosciuta '$configurazione'" >&2
    exit 1
    ;;
esac
scripts/requisiti.sh "${pacchetti[@]}"

cmake --preset "$configurazione" >/dev/null
bersagli=()
for t in "$@"; do bersagli+=(--target "$t"); done
cmake --build --preset "$configurazione" -j"$(nproc)" "${bersagli[@]}"
