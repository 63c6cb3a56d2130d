#!/usr/bin/env bash
# The round trip of "compattatore decompila" over generated scenarios, longer than the test's:
# for SEMI seeds (default 30) at 10000, 131000 and 500000 m, and for three seeds at 1000, 3450,
# 27183 and 1000000 m, "compile" of the two generated sources, "decompila" of the compiled files,
# "compile" of the decompiled sources; the three compiled files must be the same bytes and
# decompila must end with status 0. Every fifth case also goes round without the route plan.
# Builds Release in build-bench, as scripts/bench.sh does.
#
# Uso: bench/verifica_decompila.sh [SEMI]
set -euo pipefail
cd "$(dirname "$0")/.."
script=verifica_decompila.sh
# shellcheck source=bench/comune.sh
source bench/comune.sh "$@"
verifica() {
  local metri=$1 seme=$2 opzione=${3:-}
  local s=$lavoro/s
  rm -rf "$s"
  mkdir -p "$s/a" "$s/sorgenti" "$s/b"
  "$genera" --metri "$metri" --nome Prova --treno 1 --dir "$s" --seme "$seme"
  prove=$((prove + 1))
  # shellcheck disable=SC2086 # $opzione is empty or one word
  if ! "$programma" compile "$s/Prova_linea.txt" "$s/Prova_1-.txt" --dir "$s/a" $opzione \
    >/dev/null 2>"$s/errori"; then
    falliti=$((falliti + 1))
    echo "FALLITO: --metri $metri --seme $seme $opzione: la prima compilazione"
    return
  fi
  local stato=0
  "$programma" decompila "$s/a" --dir "$s/sorgenti" >/dev/null 2>"$s/errori" || stato=$?
  # shellcheck disable=SC2086
  "$programma" compile "$s/sorgenti/Prova_linea.txt" "$s/sorgenti/Prova_1-.txt" --dir "$s/b" \
    $opzione >/dev/null 2>>"$s/errori" || stato=$((stato + 10))
  local uguali=1
  for f in "$s"/a/*; do cmp -s "$f" "$s/b/$(basename "$f")" || uguali=0; done
  [ "$(ls "$s/a")" = "$(ls "$s/b")" ] || uguali=0
  if ((stato != 0 || uguali == 0)); then
    falliti=$((falliti + 1))
    echo "FALLITO: --metri $metri --seme $seme $opzione (stato $stato, uguali $uguali)"
    head -6 "$s/errori"
  fi
}

caso=0
prova() {
  caso=$((caso + 1))
  verifica "$1" "$2"
  if ((caso % 5 == 0)); then verifica "$1" "$2" --senza-tracciato; fi
}
for seme in $(seq 1 "$semi"); do
  for metri in 10000 131000 500000; do prova "$metri" "$seme"; done
done
for seme in 1 2 3; do
  for metri in 1000 3450 27183 1000000; do prova "$metri" "$seme"; done
done
echo "$prove scenari: $((prove - falliti)) tornano byte per byte, $falliti no"
((falliti == 0))
