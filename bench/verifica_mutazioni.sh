#!/usr/bin/env bash
# The property of the test Mutazioni over many more changes: for SEMI seeds (default 30), three
# generated scenarios each and MUTAZIONI changes (default 20000) of one number of one keyword
# line; every value the compiled files hold otherwise than written must have a diagnostic at
# its line. Builds the tests in build/ (the development configuration).
#
# Uso: bench/verifica_mutazioni.sh [SEMI] [MUTAZIONI]
set -euo pipefail
cd "$(dirname "$0")/.."
semi=${1:-30}
mutazioni=${2:-20000}
for n in "$semi" "$mutazioni"; do
  if ! [[ $n =~ ^[0-9]+$ ]] || ((n < 1)); then
    echo "verifica_mutazioni.sh: SEMI e MUTAZIONI devono essere numeri positivi (non '$n')" >&2
    exit 1
  fi
done
scripts/costruisci.sh sviluppo compattatore_tests genera_scenario >/dev/null
falliti=0
for seme in $(seq 1 3 $((3 * semi))); do
  if ! COMPATTATORE_SEME=$seme COMPATTATORE_MUTAZIONI=$mutazioni \
    build/compattatore_tests --gtest_filter='Mutazioni.*' --gtest_brief=1 >/dev/null; then
    falliti=$((falliti + 1))
    echo "FALLITO: COMPATTATORE_SEME=$seme COMPATTATORE_MUTAZIONI=$mutazioni"
  fi
done
echo "$semi semi da $mutazioni mutazioni provati, $falliti falliti"
((falliti == 0))
