#!/usr/bin/env bash
# fuzz/esegui.sh [-j|--parallelo] [--piano] [SECONDI [BERSAGLIO...]]
# Builds the fuzz targets with clang 14 and libFuzzer, AddressSanitizer and UBSan in build-fuzz/,
# then runs each target for SECONDI seconds (default 60), one after the other (or, with -j, all
# side by side; with --piano, under `nice -n 19`), starting from the corpus in the tree
# (fuzz/corpus/<target>) with the keyword dictionary. New inputs go to build-fuzz/corpus/<target>,
# a finding (crash, sanitizer report, escaped exception) to build-fuzz/scoperte/<target>-*: copy it
# into fuzz/corpus/<target> once the defect is fixed. The logs are in build-fuzz/in_fila/ (or
# build-fuzz/affiancati/), one per target.
# Prints, per target, executions per second (of wall time, and of the processor time the target
# had: the rate of a core of its own), total executions, coverage and findings, and writes the
# same table into fuzz/risultati.md with the date, the commit and the load, under a heading for the
# way the targets ran (one after the other, or side by side): a run replaces its own table only.
set -euo pipefail
cd "$(dirname "$0")/.."
parallelo=0
piano=()
while [ $# -gt 0 ]; do
  case "$1" in
    -j | --parallelo) parallelo=1 ;;
    --piano) piano=(nice -n 19) ;;
    *) break ;;
  esac
  shift
done
secondi=${1:-60}
shift || true
bersagli=("$@")
[ ${#bersagli[@]} -gt 0 ] || bersagli=(voci linea treno percorso lettori)

scripts/requisiti.sh cmake make clang-14 libclang-rt-14-dev time
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCOMPATTATORE_FUZZ=ON -DBUILD_TESTING=OFF -DCOMPATTATORE_BANCO=OFF >/dev/null
obiettivi=()
for b in "${bersagli[@]}"; do obiettivi+=(--target "fuzz_$b"); done
cmake --build build-fuzz -j"$(nproc)" "${obiettivi[@]}"

carico() { cut -d' ' -f1 /proc/loadavg; }
registri=build-fuzz/in_fila
[ $parallelo -eq 1 ] && registri=build-fuzz/affiancati
mkdir -p build-fuzz/scoperte "$registri"
touch "$registri/.inizio"
carico_inizio=$(carico)
inizio=$(date -u '+%Y-%m-%d %H:%M UTC')
commit=$(git rev-parse --short HEAD)
git diff --quiet HEAD -- src fuzz/*.cpp fuzz/*.h 2>/dev/null || commit+=" (con modifiche)"

# One target: its log, and the processor time it used in <target>.cpu.
esegui() {
  local b=$1
  mkdir -p "build-fuzz/corpus/$b"
  "${piano[@]}" /usr/bin/time -o "$registri/$b.cpu" -f '%U %S' \
    "build-fuzz/fuzz/fuzz_$b" -max_total_time="$secondi" -dict=fuzz/parole.dict \
    -print_final_stats=1 -artifact_prefix="build-fuzz/scoperte/$b-" \
    "build-fuzz/corpus/$b" "fuzz/corpus/$b" >"$registri/$b.log" 2>&1
}

declare -A stato
if [ $parallelo -eq 1 ]; then
  echo "== ${bersagli[*]} affiancati per $secondi s"
  declare -A processo
  for b in "${bersagli[@]}"; do
    esegui "$b" &
    processo[$b]=$!
  done
  for b in "${bersagli[@]}"; do
    set +e
    wait "${processo[$b]}"
    stato[$b]=$?
    set -e
  done
else
  for b in "${bersagli[@]}"; do
    echo "== fuzz_$b per $secondi s"
    set +e
    esegui "$b"
    stato[$b]=$?
    set -e
  done
fi
carico_fine=$(carico)

righe=()
esito=0
for b in "${bersagli[@]}"; do
  registro="$registri/$b.log"
  esecuzioni=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -1)
  al_secondo=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$registro" | tail -1)
  copertura=$(grep -o 'cov: [0-9]*' "$registro" | tail -1 | cut -d' ' -f2)
  caratteristiche=$(grep -o 'ft: [0-9]*' "$registro" | tail -1 | cut -d' ' -f2)
  per_cpu=$(awk -v n="${esecuzioni:-0}" 'NR == 1 && $1 + $2 > 0 { printf "%d", n / ($1 + $2) }' \
    "$registri/$b.cpu" 2>/dev/null || true)
  # A slow input is no finding: on a busy machine it is the wait for a processor.
  scoperte=$(find build-fuzz/scoperte -newer "$registri/.inizio" \( -name "$b-crash-*" -o \
    -name "$b-leak-*" -o -name "$b-timeout-*" -o -name "$b-oom-*" \) | wc -l)
  if [ "${stato[$b]}" -ne 0 ]; then
    esito=1
    echo "fuzz_$b: TROVATO un difetto (stato ${stato[$b]}), vedi $registro e build-fuzz/scoperte/"
    grep -m5 -E 'ERROR|runtime error|terminate|deadly' "$registro" || true
  fi
  righe+=("$(printf '| %-9s | %8s | %10s | %12s | %6s | %6s | %8s |' "$b" "${al_secondo:-?}" \
    "${per_cpu:-?}" "${esecuzioni:-?}" "${copertura:-?}" "${caratteristiche:-?}" "$scoperte")")
done

modo="uno dopo l'altro"
[ $parallelo -eq 1 ] && modo="affiancati"
[ ${#piano[@]} -gt 0 ] && modo+=", con nice -n 19"
sezione=$(
  echo "## Bersagli $modo"
  echo
  echo "$inizio, commit $commit, $secondi s per bersaglio, $(nproc) processori; carico (media di"
  echo "un minuto) $carico_inizio all'inizio, $carico_fine alla fine."
  echo
  echo '| bersaglio | esec/s   | esec/s CPU | esecuzioni   | cov    | ft     | scoperte |'
  echo '|-----------|----------|------------|--------------|--------|--------|----------|'
  printf '%s\n' "${righe[@]}"
)
echo
printf '%s\n' "$sezione"

# fuzz/risultati.md: this run's table replaces the one under the same heading.
risultati=fuzz/risultati.md
[ -f "$risultati" ] || printf '%s\n' "# Risultati del fuzzing" "" \
  "Scritto da fuzz/esegui.sh: esec/s sul tempo trascorso e sul tempo di processore del bersaglio." \
  >"$risultati"
titolo="## Bersagli $modo"
TITOLO="$titolo" SEZIONE="$sezione" awk '
  $0 == ENVIRON["TITOLO"] { salta = 1; if (!fatto) print ENVIRON["SEZIONE"]; fatto = 1; next }
  salta && /^## / { salta = 0; print "" }
  !salta { print }
  END { if (!fatto) print "\n" ENVIRON["SEZIONE"] }
' "$risultati" >"$risultati.nuovo"
mv "$risultati.nuovo" "$risultati"
exit $esito
