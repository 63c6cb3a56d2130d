#!/usr/bin/env bash
# The test command, everything CI runs (.ci/run calls it):
#   1. the format check (clang-format, the committed .clang-format);
#   2. build/: the program and every test;
#   3. build-asan/: the same with AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. scripts/windows.sh: the Windows build, its tests under Wine, the same bytes on both systems;
#   5. scripts/prova_pacchetti.sh: the Debian package and the Windows ZIP, unpacked and run.
# Each build folder has one configuration (scripts/costruisci.sh); missing packages are installed.
#
#   scripts/test.sh            everything
#   scripts/test.sh --rapido   steps 1 and 2 without the tests labelled "lento": the loop of
#                              editing, building and testing (a minute or less once built)
set -euo pipefail
cd "$(dirname "$0")/.."

rapido=false
case ${1:-} in
  "") ;;
  --rapido) rapido=true ;;
  *)
    echo "uso: scripts/test.sh [--rapido]" >&2
    exit 1
    ;;
esac

echo "== formato (clang-format)"
scripts/requisiti.sh clang-format
find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror

if $rapido; then
  echo "== build (senza le prove lente)"
  scripts/costruisci.sh sviluppo
  ctest --preset rapido -j"$(nproc)"
  exit 0
fi

# The browser test of the route's picture: Chromium takes it, libpng reads it, xmllint checks the page.
# The editor test drives the language server from Neovim.
scripts/requisiti.sh chromium libxml2-utils neovim
for configurazione in sviluppo sanitizer; do
  echo "== $configurazione"
  scripts/costruisci.sh "$configurazione"
  ctest --preset "$configurazione" -j"$(nproc)"
done

scripts/windows.sh
scripts/prova_pacchetti.sh
