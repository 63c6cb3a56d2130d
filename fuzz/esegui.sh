#!/usr/bin/env bash
# fuzz/esegui.sh [SECONDI [BERSAGLIO...]]
# Builds the fuzz targets with clang 14 and libFuzzer, AddressSanitizer and UBSan in build-fuzz/,
# then runs each target for SECONDI seconds (default 60), one after the other, starting from the
# corpus in the tree (fuzz/corpus/<target>) with the keyword dictionary. New inputs go to
# build-fuzz/corpus/<target>, a finding (crash, sanitizer report, escaped exception) to
# build-fuzz/scoperte/<target>-*: copy it into fuzz/corpus/<target> once the defect is fixed.
# Prints, per target, executions per second, total executions and coverage.
set -euo pipefail
cd "$(dirname "$0")/.."
secondi=${1:-60}
shift || true
bersagli=("$@")
[ ${#bersagli[@]} -gt 0 ] || bersagli=(voci linea treno percorso lettori)

scripts/requisiti.sh cmake make clang-14 libclang-rt-14-dev
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCOMPATTATORE_FUZZ=ON -DBUILD_TESTING=OFF -DCOMPATTATORE_BANCO=OFF >/dev/null
obiettivi=()
for b in "${bersagli[@]}"; do obiettivi+=(--target "fuzz_$b"); done
cmake --build build-fuzz -j"$(nproc)" "${obiettivi[@]}"

mkdir -p build-fuzz/scoperte
riepilogo=()
esito=0
for b in "${bersagli[@]}"; do
  mkdir -p "build-fuzz/corpus/$b"
  registro="build-fuzz/$b.log"
  echo "== fuzz_$b per $secondi s"
  set +e
  "build-fuzz/fuzz/fuzz_$b" -max_total_time="$secondi" -dict=fuzz/parole.dict \
    -print_final_stats=1 -artifact_prefix="build-fuzz/scoperte/$b-" \
    "build-fuzz/corpus/$b" "fuzz/corpus/$b" >"$registro" 2>&1
  stato=$?
  set -e
  esecuzioni=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -1)
  al_secondo=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$registro" | tail -1)
  copertura=$(grep -o 'cov: [0-9]*' "$registro" | tail -1 | cut -d' ' -f2)
  caratteristiche=$(grep -o 'ft: [0-9]*' "$registro" | tail -1 | cut -d' ' -f2)
  if [ "$stato" -ne 0 ]; then
    esito=1
    echo "fuzz_$b: TROVATO un difetto (stato $stato), vedi $registro e build-fuzz/scoperte/"
    grep -m5 -E 'ERROR|runtime error|terminate|deadly' "$registro" || true
  fi
  riepilogo+=("$(printf '%-9s %10s %12s %8s %8s' "$b" "${al_secondo:-?}" "${esecuzioni:-?}" \
    "${copertura:-?}" "${caratteristiche:-?}")")
done
echo
printf '%-9s %10s %12s %8s %8s\n' bersaglio "esec/s" esecuzioni cov ft
printf '%s\n' "${riepilogo[@]}"
exit $esito
