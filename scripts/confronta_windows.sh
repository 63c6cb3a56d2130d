#!/usr/bin/env bash
# The same bytes on both systems: runs the Linux program and the Windows program (under Wine) on
# the same inputs, each in a folder of its own, and compares the exit status, what each printed
# and every file in the folder afterwards, byte for byte. In what they print, Windows separates
# folders with '\', so '\' is read as '/' there; nothing else may differ.
#
#   scripts/confronta_windows.sh [LINUX_EXE WINDOWS_EXE]
#
# Without arguments it compares build/compattatore and build-windows/compattatore.exe, built
# first when they are not up to date. The cases:
# - the plain run (no options: the files go beside the executable);
# - `esempio`, and `compila` on the embedded sources with the page of the route (`--disegna`),
#   under an accented name, and `decompila` of what it wrote;
# - every command that takes a file or a folder, with folders named `Città` and `due parole`:
#   the plain run `--dir`, `esempio`, `compila --dir --nome --disegna`, `decompila --dir --nome`,
#   `disegna -o`, `mostra` and `confronta`;
# - `compila` on each generated scenario of fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  scripts/costruisci.sh sviluppo compattatore >/dev/null
  scripts/costruisci.sh windows compattatore >/dev/null
  set -- build/compattatore build-windows/compattatore.exe
fi
for eseguibile in "$1" "$2"; do
  [ -f "$eseguibile" ] || { echo "confronta_windows.sh: manca $eseguibile" >&2; exit 1; }
done
linux=$(realpath "$1")
windows=$(realpath "$2")
wine=$PWD/scripts/wine.sh
corpus=$PWD/fuzz/corpus
nome=Viterbo_Orte_Roma_Via_Linea_Cintura
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT

casi=0
file=0
diversi=0

diverso() {
  echo "DIVERSO $*" >&2
  diversi=$((diversi + 1))
}

# confronta CASO COMANDO: the exit status, the output and the files of both folders of CASO (the
# executable aside), after COMANDO ran in each.
confronta() {
  local caso=$1 comando=$2 l=$lavoro/linux/$1 w=$lavoro/windows/$1
  casi=$((casi + 1))
  if [ "$(cat "$l.stato")" != "$(cat "$w.stato")" ]; then
    diverso "$caso ($comando): stato $(cat "$l.stato") su Linux, $(cat "$w.stato") su Windows"
  fi
  local flusso
  for flusso in out err; do
    if ! cmp -s "$l.$flusso" <(tr '\\' / <"$w.$flusso"); then
      diverso "$caso ($comando): standard $flusso"
      diff "$l.$flusso" <(tr '\\' / <"$w.$flusso") >&2 || true
    fi
  done
  local elenco_l elenco_w
  elenco_l=$(cd "$l" && find . -type f ! -name compattatore ! -name compattatore.exe | sort)
  elenco_w=$(cd "$w" && find . -type f ! -name compattatore ! -name compattatore.exe | sort)
  if [ "$elenco_l" != "$elenco_w" ]; then
    diverso "$caso ($comando): file diversi"
    diff <(echo "$elenco_l") <(echo "$elenco_w") >&2 || true
    return
  fi
  while IFS= read -r f; do
    [ -n "$f" ] || continue
    file=$((file + 1))
    if ! cmp -s "$l/$f" "$w/$f"; then
      diverso "$caso ($comando): $f"
      cmp "$l/$f" "$w/$f" >&2 || true
    fi
  done <<<"$elenco_l"
}

# prova CASO COMANDO...: runs the command in both folders of CASO (made when missing, and filled
# alike by the caller), then compares them. In the command, @ stands for each system's program.
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
        riga+=("$wine" "$windows")
      else
        riga+=("$parola")
      fi
    done
    mkdir -p "$cartella"
    local stato=0
    (cd "$cartella" && "${riga[@]}" >"$cartella.out" 2>"$cartella.err") || stato=$?
    echo "$stato" >"$cartella.stato"
  done
  confronta "$caso" "${*:2}"
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
for sistema in linux windows; do
  e=$lavoro/$sistema/esegui
  programma=("$e/compattatore")
  [ $sistema = windows ] && programma=("$wine" "$e/compattatore.exe")
  stato=0
  (cd "$lavoro" && "${programma[@]}" >"$e.out" 2>"$e.err") || stato=$?
  echo "$stato" >"$e.stato"
done
confronta esegui "senza comando"

# The embedded sources as a template (esempio), then compila on them: under their own names with
# the page of the route, and under an accented name; decompila of what compila wrote.
prova esempio @ esempio modello
incorporati=$lavoro/linux/esempio/modello
sorgenti compila "$incorporati/${nome}_linea.txt" "$incorporati/${nome}_3349-.txt" \
  "${nome}_linea.txt" "${nome}_3349-.txt"
prova compila @ compila "${nome}_linea.txt" "${nome}_3349-.txt" --disegna percorso.html
sorgenti accenti "$incorporati/${nome}_linea.txt" "$incorporati/${nome}_3349-.txt" \
  "Città_linea.txt" "Città_3349-.txt"
prova accenti @ compila "Città_linea.txt" "Città_3349-.txt" --dir . --senza-tracciato
for sistema in linux windows; do
  mkdir -p "$lavoro/$sistema/decompila/sorgenti"
  cp "$lavoro/linux/compila/${nome}"_*.{dat,sim} "$lavoro/$sistema/decompila/"
done
prova decompila @ decompila "${nome}_3349.dat" --dir sorgenti

# Every command that takes a file or a folder, in folders whose names are not plain ASCII or hold
# a space. Each case folder holds the folder C; the commands name it relatively.
n=0
for c in "Città" "due parole"; do
  n=$((n + 1))
  caso=cartella_$n
  for sistema in linux windows; do
    mkdir -p "$lavoro/$sistema/$caso/$c/"{compilati,sorgenti,mancante}
    rmdir "$lavoro/$sistema/$caso/$c/mancante"
  done
  prova "$caso" @ --dir "$c"
  prova "$caso" @ esempio "$c/modello"
  prova "$caso" @ compila "$c/modello/${nome}_linea.txt" "$c/modello/${nome}_3349-.txt" \
    --dir "$c/compilati" --nome "$c" --treno 7 --disegna "$c/compila.html"
  prova "$caso" @ decompila "$c/compilati" --dir "$c/sorgenti" --nome "$c"
  prova "$caso" @ decompila "$c/compilati/${c}_7.sim" --dir "$c/mancante"
  prova "$caso" @ disegna "$c/compilati/${c}_7.dat" -o "$c/disegno.html"
  prova "$caso" @ mostra "$c/compilati"
  prova "$caso" @ mostra "$c/${nome}_3349.sim" --tratti 100-110
  prova "$caso" @ confronta "$c" "$c/compilati"
  prova "$caso" @ confronta "$c/compilati/${c}_linea.dat" "$c/${nome}_linea.dat"
done

# Generated scenarios of several lengths, every kind of feature in them.
for l in "$corpus"/linea/generato_*.txt; do
  g=$(basename "$l" .txt)
  sorgenti "$g" "$l" "$corpus/treno/$g.txt" "${g}_linea.txt" "${g}_1-.txt"
  prova "$g" @ compila "${g}_linea.txt" "${g}_1-.txt"
done

"$wine" --fine
if [ "$diversi" -ne 0 ]; then
  echo "Linux e Windows: $diversi differenze in $casi casi" >&2
  exit 1
fi
echo "Linux e Windows: $file file uguali byte per byte in $casi casi, con le stesse uscite"
