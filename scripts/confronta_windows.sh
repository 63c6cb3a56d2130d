#!/usr/bin/env bash
# The same bytes on both systems: runs the Linux build and the Windows build (under Wine) on the
# same inputs, each in a folder of its own, and compares the exit status and every file in the
# folder afterwards, byte for byte.
#
#   scripts/confronta_windows.sh [LINUX_EXE [WINDOWS_EXE]]
#
# Defaults: build/compattatore and build-windows/compattatore.exe, with the Wine prefix of
# scripts/windows.sh. The cases: the plain run (no options: the files go beside the executable),
# `esempio` (the embedded sources), `compila` on those with the page of the route (`--disegna`)
# and under an accented name, `decompila` of the compiled embedded scenario, and `compila` on each generated scenario of fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(realpath "${1:-build/compattatore}")
windows=$(realpath "${2:-build-windows/compattatore.exe}")
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine} WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
corpus=$PWD/fuzz/corpus
nome=Viterbo_Orte_Roma_Via_Linea_Cintura
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT

casi=0
file=0
diversi=0

# confronta CASO: the exit status and the files of both folders of CASO (the executable aside).
confronta() {
  local caso=$1 l=$lavoro/linux/$1 w=$lavoro/windows/$1
  casi=$((casi + 1))
  if [ "$(cat "$l.stato")" != "$(cat "$w.stato")" ]; then
    echo "DIVERSO $caso: stato $(cat "$l.stato") su Linux, $(cat "$w.stato") su Windows" >&2
    diversi=$((diversi + 1))
  fi
  local elenco_l elenco_w
  elenco_l=$(cd "$l" && find . -type f ! -name compattatore ! -name compattatore.exe | sort)
  elenco_w=$(cd "$w" && find . -type f ! -name compattatore ! -name compattatore.exe | sort)
  if [ "$elenco_l" != "$elenco_w" ]; then
    echo "DIVERSO $caso: file diversi" >&2
    diff <(echo "$elenco_l") <(echo "$elenco_w") >&2 || true
    diversi=$((diversi + 1))
    return
  fi
  while IFS= read -r f; do
    file=$((file + 1))
    if ! cmp -s "$l/$f" "$w/$f"; then
      echo "DIVERSO $caso: $f" >&2
      cmp "$l/$f" "$w/$f" >&2 || true
      diversi=$((diversi + 1))
    fi
  done <<<"$elenco_l"
}

# prova CASO COMANDO...: runs the command in both folders of CASO (which the caller filled alike).
# In the command, @ stands for the executable of each system.
prova() {
  local caso=$1
  shift
  for sistema in linux windows; do
    local cartella=$lavoro/$sistema/$caso
    local riga=()
    for parola in "$@"; do
      if [ "$parola" = @ ] && [ $sistema = linux ]; then
        riga+=("$linux")
      elif [ "$parola" = @ ]; then
        riga+=(wine "$windows")
      else
        riga+=("$parola")
      fi
    done
    local stato=0
    (cd "$cartella" && "${riga[@]}" >/dev/null 2>&1) || stato=$?
    echo "$stato" >"$cartella.stato"
  done
  confronta "$caso"
}

# sorgenti CASO LINEA TRENO NOME_LINEA NOME_TRENO: a folder per system with the two sources.
sorgenti() {
  for sistema in linux windows; do
    mkdir -p "$lavoro/$sistema/$1"
    cp "$2" "$lavoro/$sistema/$1/$4"
    cp "$3" "$lavoro/$sistema/$1/$5"
  done
}

# The plain run, with the executable alone in its folder and started from another folder.
for sistema in linux windows; do mkdir -p "$lavoro/$sistema/esegui"; done
cp "$linux" "$lavoro/linux/esegui/compattatore"
cp "$windows" "$lavoro/windows/esegui/compattatore.exe"
linux_copia=$lavoro/linux/esegui/compattatore
windows_copia=$lavoro/windows/esegui/compattatore.exe
(cd "$lavoro" && "$linux_copia" >/dev/null 2>&1; echo $? >"$lavoro/linux/esegui.stato")
(cd "$lavoro" && wine "$windows_copia" >/dev/null 2>&1; echo $? >"$lavoro/windows/esegui.stato")
confronta esegui

# The embedded sources as a template (esempio), then compila on them: under their own names with
# the page of the route, and under an accented name.
for sistema in linux windows; do mkdir -p "$lavoro/$sistema/esempio"; done
prova esempio @ esempio modello
incorporati=$lavoro/linux/esempio/modello
sorgenti compila "$incorporati/${nome}_linea.txt" "$incorporati/${nome}_3349-.txt" \
  "${nome}_linea.txt" "${nome}_3349-.txt"
prova compila @ compila "${nome}_linea.txt" "${nome}_3349-.txt" --disegna percorso.html
sorgenti accenti "$incorporati/${nome}_linea.txt" "$incorporati/${nome}_3349-.txt" \
  "Città_linea.txt" "Città_3349-.txt"
prova accenti @ compila "Città_linea.txt" "Città_3349-.txt" --dir . --senza-tracciato
# decompila on the compiled files of the embedded scenario: the same two sources on both systems.
for sistema in linux windows; do
  mkdir -p "$lavoro/$sistema/decompila/sorgenti"
  cp "$lavoro/linux/compila/${nome}"_* "$lavoro/$sistema/decompila/"
  rm -f "$lavoro/$sistema/decompila/"*.txt
done
prova decompila @ decompila "${nome}_3349.dat" --dir sorgenti
# Generated scenarios of several lengths, every kind of feature in them.
for l in "$corpus"/linea/generato_*.txt; do
  n=$(basename "$l" .txt)
  sorgenti "$n" "$l" "$corpus/treno/$n.txt" "${n}_linea.txt" "${n}_1-.txt"
  prova "$n" @ compila "${n}_linea.txt" "${n}_1-.txt"
done

timeout 60 wineserver -w || true
if [ "$diversi" -ne 0 ]; then
  echo "Linux e Windows: $diversi differenze in $casi casi" >&2
  exit 1
fi
echo "Linux e Windows: $file file uguali byte per byte in $casi casi"
