#!/usr/bin/env bash
# Measures the compactor against the floor of writing its output. Builds Release in build-bench,
# generates scenarios of 10000, 131000, 500000 and 1000000 m (bench/genera_scenario, seed 1), and
# for the plain run, each compile and `mostra --json` of the longest makes one paired run: the
# program and the floor writer (bench/pavimento: the same byte counts, each as a temporary file,
# one fsync, one rename) alternate GIRI times each (default 21, at least 11). The table gives the
# medians as ratios to the floor, the peak resident memory and the bytes written; then the goals,
# met or short.
#
# Uso: scripts/bench.sh [GIRI]
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

giri=${1:-21}
if ! [[ $giri =~ ^[0-9]+$ ]] || ((giri < 11)); then
  echo "bench.sh: GIRI deve essere un numero, almeno 11 (non '$giri')" >&2
  exit 1
fi

scripts/costruisci.sh banco compattatore genera_scenario pavimento cronometro >/dev/null
programma=$PWD/build-bench/compattatore
strumenti=$PWD/build-bench/bench

# The files go on the disk of the build folder, as a user's would: a /tmp held in memory would
# hide the cost of fsync.
lavoro=$(mktemp -d "$PWD/build-bench/banco.XXXXXX")
trap 'rm -rf "$lavoro"' EXIT
risultati=$lavoro/risultati
: >"$risultati"

# The median of the numbers on standard input.
mediana() {
  sort -n | awk '{ v[NR] = $1 } END {
    if (NR == 0) exit 1
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# misura ETICHETTA METRI USCITA -- COMANDO [ARG ...]
# COMANDO writes its files into the folder USCITA. A first run, untimed, must end with status 0
# and print no error code; the sizes of the files it leaves are the byte counts of the floor.
# METRI is the route length (0 when the case is not one of the sizes).
misura() {
  local etichetta=$1 metri=$2 uscita=$3
  shift 4
  mkdir -p "$uscita"
  if ! "$@" >/dev/null 2>"$lavoro/errori" || [ -s "$lavoro/errori" ]; then
    echo "bench.sh: $etichetta: il programma non finisce con stato 0 e senza errori:" >&2
    head -5 "$lavoro/errori" >&2
    exit 1
  fi
  local byte
  mapfile -t byte < <(find "$uscita" -maxdepth 1 -type f -printf '%s\n' | sort -n)
  local pavimento=$lavoro/pavimento.$RANDOM
  mkdir -p "$pavimento"
  "$strumenti/cronometro" "$giri" -- "$@" -- "$strumenti/pavimento" "$pavimento" "${byte[@]}" \
    >"$lavoro/giri"
  rm -rf "$pavimento"

  # Each A run and the B run right after it form a pair that met the same state of the machine:
  # the ratios are the medians of the pairs' ratios, the times the medians of each side.
  local rt rc pp fp pc memoria totale
  rt=$(awk '$1 == "A" { a = $2 } $1 == "B" { print a / $2 }' "$lavoro/giri" | mediana)
  rc=$(awk '$1 == "A" { a = $3 + $4 } $1 == "B" { c = $3 + $4; print (c > 0 ? a / c : 0) }' \
    "$lavoro/giri" | mediana)
  pp=$(awk '$1 == "A" { print $2 }' "$lavoro/giri" | mediana)
  fp=$(awk '$1 == "B" { print $2 }' "$lavoro/giri" | mediana)
  pc=$(awk '$1 == "A" { print $3 + $4 }' "$lavoro/giri" | mediana)
  memoria=$(awk '$1 == "A" && $5 > m { m = $5 } END { print m }' "$lavoro/giri")
  totale=$(printf '%s\n' "${byte[@]}" | awk '{ s += $1 } END { print s }')
  # label | metres | bytes | files | time ratio | CPU ratio | program, floor wall (µs) |
  # peak KiB | program CPU (µs)
  printf '%s|%s|%s|%s|%s|%s|%s|%s|%s|%s\n' "$etichetta" "$metri" "$totale" "${#byte[@]}" \
    "$rt" "$rc" "$pp" "$fp" "$memoria" "$pc" >>"$risultati"
}

misura "corsa incorporata" 0 "$lavoro/corsa" -- "$programma" --dir "$lavoro/corsa"

for metri in 10000 131000 500000 1000000; do
  s=$lavoro/s$metri
  "$strumenti/genera_scenario" --metri "$metri" --nome Banco --treno 1 --dir "$s" --seme 1
  misura "compile $metri m" "$metri" "$s/uscita" -- \
    "$programma" compile "$s/Banco_linea.txt" "$s/Banco_1-.txt" --dir "$s/uscita"
done

# mostra --json of the longest route: the document (about 52 MB) is written piece by piece, in
# about the memory that reading the three files takes.
misura "mostra --json 1000000 m" 0 "$lavoro/mostra" -- \
  sh -c '"$0" mostra --json "$1" >"$2/mostra.json"' "$programma" \
  "$lavoro/s1000000/uscita/Banco_1.sim" "$lavoro/mostra"

# The route plan alone: a 124000 m line with 60 curves and nothing else, a train with one station
# (a train without any would be worth a warning).
t=$lavoro/tracciato
mkdir -p "$t"
{
  printf '[generale]\r\nlunghezza percorso,    124000\r\n[curve]\r\n'
  for i in $(seq 0 59); do
    lato=d
    ((i % 2)) && lato=s
    printf 'curva%s%d,  %d,  300\r\n' "$lato" $((1 + i % 6)) $((500 + 2000 * i))
  done
  printf '[fine]\r\n'
} >"$t/Tracciato_linea.txt"
printf '[generale]\r\nstazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A\r\n[fine]\r\n' \
  >"$t/Tracciato_1-.txt"
misura "tracciato 124000 m, 60 curve" 0 "$t/uscita" -- \
  "$programma" compile "$t/Tracciato_linea.txt" "$t/Tracciato_1-.txt" --dir "$t/uscita"

echo
echo "Programma e pavimento (gli stessi byte: file temporaneo, un fsync, una rinomina) alternati,"
echo "$giri coppie per caso; build Release, $(nproc) core. Rapporti: mediana dei rapporti di ogni"
echo "coppia. Tempi: mediane; dipendono dalla macchina e dal disco, i rapporti sono le cifre."
echo
awk -F'|' '
  BEGIN {
    printf "%-30s %12s %5s %9s %9s %11s %10s %10s\n", "caso", "byte scritti", "file",
           "tempo/pav", "CPU/pav", "memoria max", "programma", "pavimento"
    printf "%-30s %12s %5s %9s %9s %11s %10s %10s\n", "", "", "", "", "", "(MiB)", "(ms)", "(ms)"
  }
  {
    printf "%-30s %12d %5d %8.2fx %8.2fx %11.1f %10.1f %10.1f\n", $1, $3, $4, $5, $6,
           $9 / 1024, $7 / 1000, $8 / 1000
  }' "$risultati"

echo
echo "Obiettivi"
awk -F'|' '
  function esito(ok) { return ok ? "raggiunto" : "mancato" }
  $1 == "corsa incorporata" { corsa = $5 }
  $2 == 500000 { cpu_mezzo = $10 / $2 }
  $2 == 1000000 { grande = $5; memoria = $9 / 1024; tetto = 1.1 * $3 / 1048576 + 8; cpu_intero = $10 / $2 }
  END {
    printf "  %-62s %-22s %s\n", "corsa incorporata: tempo al massimo 1,5 x pavimento",
           sprintf("%.2fx", corsa), esito(corsa <= 1.5)
    printf "  %-62s %-22s %s\n", "compile 1000000 m: tempo al massimo 1,5 x pavimento",
           sprintf("%.2fx", grande), esito(grande <= 1.5)
    printf "  %-62s %-22s %s\n", "compile 1000000 m: memoria al massimo 1,1 x byte + 8 MiB",
           sprintf("%.1f MiB (tetto %.1f)", memoria, tetto), esito(memoria <= tetto)
    lineare = cpu_intero / cpu_mezzo
    printf "  %-62s %-22s %s\n", "costo lineare: CPU per metro a 1000000 m / a 500000 m <= 1,2",
           sprintf("%.2f", lineare), esito(lineare <= 1.2)
  }' "$risultati"
