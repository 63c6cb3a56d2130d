#!/usr/bin/env bash
# Checks that the generated scenarios compile cleanly: for SEMI seeds (default 30) at 10000 and
# 131000 m, a few at 500000 and 1000000 m, and a few odd lengths, "compattatore compile" of the
# two generated sources must end with status 0 and print no error code. Builds Release in
# build-bench, as scripts/bench.sh does.
#
# Uso: bench/verifica_scenari.sh [SEMI]
set -euo pipefail
cd "$(dirname "$0")/.."
script=verifica_scenari.sh
# shellcheck source=bench/comune.sh
source bench/comune.sh "$@"
verifica() {
  local metri=$1 seme=$2
  rm -rf "$lavoro/s"
  mkdir -p "$lavoro/s/uscita"
  "$genera" --metri "$metri" --nome Prova --treno 1 --dir "$lavoro/s" --seme "$seme"
  local stato=0
  "$programma" compile "$lavoro/s/Prova_linea.txt" "$lavoro/s/Prova_1-.txt" \
    --dir "$lavoro/s/uscita" >/dev/null 2>"$lavoro/errori" || stato=$?
  prove=$((prove + 1))
  if ((stato != 0)) || [ -s "$lavoro/errori" ]; then
    falliti=$((falliti + 1))
    echo "FALLITO: --metri $metri --seme $seme (stato $stato)"
    head -4 "$lavoro/errori"
  fi
}

for seme in $(seq 1 "$semi"); do
  verifica 10000 "$seme"
  verifica 131000 "$seme"
done
for seme in 1 2 3; do
  for metri in 1000 3450 9999 27183 500000 1000000; do verifica "$metri" "$seme"; done
done
echo "$prove scenari compilati, $falliti falliti"
((falliti == 0))
