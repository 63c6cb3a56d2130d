#!/usr/bin/env bash
# Measures the compactor against the floor of writing its output. Builds Release in build-bench,
# generates scenarios of 10000, 131000, 500000 and 1000000 m (bench/genera_scenario, seed 1), and
# for the plain run and each compile makes one paired run: the program and the floor writer
# (bench/pavimento: the same files, each written as a temporary file from a 256 KiB buffer and
# flushed, then every rename and one flush of the folder) alternate GIRI times each (default 21,
# at least 11). The commands that read compiled files (mostra, its --json and --tratti, confronta,
# disegna, decompila) are measured on the 131000 and 1000000 m scenarios against reading their
# files once (cat). The tables give the medians as ratios to the floor, the CPU time, the peak
# resident memory, the bytes written and the machine's load; then the goals, met or short.
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
letture=$lavoro/letture
: >"$risultati"
: >"$letture"
# The reading commands take less than a second each: fewer pairs are enough.
giri_lettura=$((giri < 15 ? giri : 15))
carico_inizio=$(cut -d' ' -f1-3 /proc/loadavg)

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
  local rt rc pp fp pc memoria totale carico
  rt=$(awk '$1 == "A" { a = $2 } $1 == "B" { print a / $2 }' "$lavoro/giri" | mediana)
  rc=$(awk '$1 == "A" { a = $3 + $4 } $1 == "B" { c = $3 + $4; print (c > 0 ? a / c : 0) }' \
    "$lavoro/giri" | mediana)
  pp=$(awk '$1 == "A" { print $2 }' "$lavoro/giri" | mediana)
  fp=$(awk '$1 == "B" { print $2 }' "$lavoro/giri" | mediana)
  pc=$(awk '$1 == "A" { print $3 + $4 }' "$lavoro/giri" | mediana)
  memoria=$(awk '$1 == "A" && $5 > m { m = $5 } END { print m }' "$lavoro/giri")
  totale=$(printf '%s\n' "${byte[@]}" | awk '{ s += $1 } END { print s }')
  carico=$(cut -d' ' -f1 /proc/loadavg)
  # label | metres | bytes | files | time ratio | CPU ratio | program, floor wall (µs) |
  # peak KiB | program CPU (µs) | load
  printf '%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s\n' "$etichetta" "$metri" "$totale" "${#byte[@]}" \
    "$rt" "$rc" "$pp" "$fp" "$memoria" "$pc" "$carico" >>"$risultati"
}

# leggi ETICHETTA METRI FILE_USCITA -- COMANDO [ARG ...]
# A command that reads the compiled files of the METRI scenario, paired with reading those files
# once (cat); FILE_USCITA is what it writes (its size is reported: the page of disegna).
leggi() {
  local etichetta=$1 metri=$2 uscita=$3
  shift 4
  local compilati=$lavoro/s$metri/uscita
  if ! "$@" >/dev/null 2>"$lavoro/errori"; then
    echo "bench.sh: $etichetta: il programma non finisce con stato 0:" >&2
    head -5 "$lavoro/errori" >&2
    exit 1
  fi
  "$strumenti/cronometro" "$giri_lettura" -- "$@" -- \
    sh -c 'cat "$0"/* >/dev/null' "$compilati" >"$lavoro/giri"
  local rt pc pp fp memoria byte scritti carico
  rt=$(awk '$1 == "A" { a = $2 } $1 == "B" { print a / $2 }' "$lavoro/giri" | mediana)
  pc=$(awk '$1 == "A" { print $3 + $4 }' "$lavoro/giri" | mediana)
  pp=$(awk '$1 == "A" { print $2 }' "$lavoro/giri" | mediana)
  fp=$(awk '$1 == "B" { print $2 }' "$lavoro/giri" | mediana)
  memoria=$(awk '$1 == "A" && $5 > m { m = $5 } END { print m }' "$lavoro/giri")
  byte=$(find "$compilati" -maxdepth 1 -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
  scritti=0
  [ -f "$uscita" ] && scritti=$(stat -c %s "$uscita")
  carico=$(cut -d' ' -f1 /proc/loadavg)
  # label | metres | compiled bytes | time ratio to cat | program, cat wall (µs) | peak KiB |
  # program CPU (µs) | bytes of its output file | load
  printf '%s|%s|%s|%s|%s|%s|%s|%s|%s|%s\n' "$etichetta" "$metri" "$byte" "$rt" "$pp" "$fp" \
    "$memoria" "$pc" "$scritti" "$carico" >>"$letture"
}

misura "corsa incorporata" 0 "$lavoro/corsa" -- "$programma" --dir "$lavoro/corsa"

for metri in 10000 131000 500000 1000000; do
  s=$lavoro/s$metri
  "$strumenti/genera_scenario" --metri "$metri" --nome Banco --treno 1 --dir "$s" --seme 1
  misura "compile $metri m" "$metri" "$s/uscita" -- \
    "$programma" compile "$s/Banco_linea.txt" "$s/Banco_1-.txt" --dir "$s/uscita"
done

# The commands that read compiled files, on the two lengths the figures compare.
for metri in 131000 1000000; do
  c=$lavoro/s$metri/uscita
  l=$lavoro/lettura$metri
  mkdir -p "$l/sorgenti"
  cp -r "$c" "$l/copia"
  leggi "mostra $metri m" "$metri" - -- "$programma" mostra "$c/Banco_1.sim"
  leggi "mostra --json $metri m" "$metri" - -- "$programma" mostra --json "$c/Banco_1.sim"
  leggi "mostra --tratti $metri m" "$metri" - -- \
    "$programma" mostra --tratti "0-$((metri / 50 + 140))" "$c/Banco_1.sim"
  leggi "confronta $metri m" "$metri" - -- "$programma" confronta "$c" "$l/copia"
  leggi "disegna $metri m" "$metri" "$l/pagina.html" -- \
    "$programma" disegna "$c/Banco_1.sim" -o "$l/pagina.html"
  leggi "decompila $metri m" "$metri" - -- \
    "$programma" decompila "$c/Banco_1.sim" --dir "$l/sorgenti" --sovrascrivi
done

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
echo "Programma e pavimento (gli stessi file: ciascuno temporaneo da un buffer di 256 KiB e"
echo "scaricato su disco, poi le rinomine e la cartella scaricata una volta) alternati, $giri coppie"
echo "per caso; build Release, $(nproc) core. Rapporti: mediana dei rapporti di ogni coppia. Tempi:"
echo "mediane; dipendono dalla macchina e dal disco, i rapporti sono le cifre. Carico: la media di"
echo "un minuto alla fine di ogni caso (all'inizio: $carico_inizio)."
echo
awk -F'|' '
  BEGIN {
    printf "%-30s %12s %5s %9s %9s %11s %10s %10s %7s\n", "caso", "byte scritti", "file",
           "tempo/pav", "CPU/pav", "memoria max", "programma", "pavimento", "carico"
    printf "%-30s %12s %5s %9s %9s %11s %10s %10s %7s\n", "", "", "", "", "", "(MiB)", "(ms)", "(ms)", ""
  }
  {
    printf "%-30s %12d %5d %8.2fx %8.2fx %11.1f %10.1f %10.1f %7s\n", $1, $3, $4, $5, $6,
           $9 / 1024, $7 / 1000, $8 / 1000, $11
  }' "$risultati"

echo
echo "Letture dei file compilati, alternate con una lettura dei file (cat), $giri_lettura coppie per caso."
echo
awk -F'|' '
  BEGIN {
    printf "%-30s %12s %9s %9s %11s %10s %10s %7s\n", "caso", "byte letti", "tempo/cat",
           "CPU", "memoria max", "programma", "file", "carico"
    printf "%-30s %12s %9s %9s %11s %10s %10s %7s\n", "", "", "", "(ms)", "(MiB)", "(ms)", "scritto", ""
  }
  {
    printf "%-30s %12d %8.2fx %9.1f %11.1f %10.1f %10s %7s\n", $1, $3, $4, $8 / 1000,
           $7 / 1024, $5 / 1000, ($9 > 0 ? $9 : "-"), $10
  }' "$letture"

echo
echo "Obiettivi"
awk -F'|' '
  function esito(ok) { return ok ? "raggiunto" : "mancato" }
  function riga(testo, valore, ok) { printf "  %-66s %-24s %s\n", testo, valore, esito(ok) }
  FILENAME == ARGV[1] && $1 == "corsa incorporata" { corsa = $5 }
  FILENAME == ARGV[1] && $2 == 500000 { cpu_mezzo = $10 / $2 }
  FILENAME == ARGV[1] && $2 == 1000000 {
    grande = $5; cpu_intero = $10 / $2; memoria_grande = $9 / 1024; tetto_grande = 1.1 * $3 / 1048576 + 8
  }
  FILENAME == ARGV[2] {
    comando = $1
    sub(/ [0-9]+ m$/, "", comando)
    if ($2 == 1000000) {
      ordine[++n] = comando
      cpu[comando] = $8 / 1e6
      memoria[comando] = $7 / 1024
      # confronta reads two scenarios: twice the files of both
      tetto[comando] = (comando == "confronta" ? 4 : 2) * $3 / 1048576
      if (comando == "disegna") pagina = $9
    } else {
      per_metro_piccolo[comando] = $8 / $2
    }
    if ($2 == 1000000) per_metro_grande[comando] = $8 / $2
  }
  END {
    riga("corsa incorporata: tempo al massimo 1,3 x pavimento", sprintf("%.2fx", corsa), corsa <= 1.3)
    riga("compile 1000000 m: tempo al massimo 1,25 x pavimento", sprintf("%.2fx", grande),
         grande <= 1.25)
    riga("compile 1000000 m: memoria al massimo 1,1 x byte + 8 MiB",
         sprintf("%.1f MiB (tetto %.1f)", memoria_grande, tetto_grande), memoria_grande <= tetto_grande)
    lineare = cpu_intero / cpu_mezzo
    riga("costo lineare: CPU per metro della compile, 1000000 m / 500000 m <= 1,2",
         sprintf("%.2f", lineare), lineare <= 1.2)
    for (i = 1; i <= n; ++i) {
      c = ordine[i]
      riga(c " 1000000 m: CPU al massimo 0,15 s", sprintf("%.3f s", cpu[c]), cpu[c] <= 0.15)
      riga(c " 1000000 m: memoria al massimo 2 x i file", sprintf("%.1f MiB (tetto %.1f)",
           memoria[c], tetto[c]), memoria[c] <= tetto[c])
      l = per_metro_grande[c] / per_metro_piccolo[c]
      riga(c ": CPU per metro, 1000000 m / 131000 m <= 1,2", sprintf("%.2f", l), l <= 1.2)
    }
    riga("disegna 1000000 m: pagina sotto 1 MB", sprintf("%d byte", pagina), pagina < 1000000)
  }' "$risultati" "$letture"
echo
echo "Carico alla fine: $(cut -d' ' -f1-3 /proc/loadavg)"
