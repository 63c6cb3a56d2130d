#!/usr/bin/env bash
# Builds and runs every test: the format check, a normal build, then one with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows build and its tests under Wine
# (scripts/windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/requisiti.sh cmake g++ make nlohmann-json3-dev libgtest-dev libssl-dev clang-format

echo "== formato (clang-format)"
find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror

# The browser test of the route's picture: Chromium takes it, libpng reads it, xmllint checks the page.
scripts/requisiti.sh chromium libpng-dev libxml2-utils

for variante in build:OFF build-asan:ON; do
  cartella=${variante%%:*}
  sanitizer=${variante##*:}
  echo "== $cartella (sanitizer: $sanitizer)"
  cmake -S . -B "$cartella" -DBUILD_TESTING=ON -DCOMPATTATORE_SANITIZE="$sanitizer" >/dev/null
  cmake --build "$cartella" -j"$(nproc)"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$cartella" --output-on-failure -j"$(nproc)"
done

# The Windows build, its tests under Wine, and the same bytes on both systems.
scripts/windows.sh

# The Debian package and the Windows ZIP made from those builds, unpacked and run.
scripts/prova_pacchetti.sh
