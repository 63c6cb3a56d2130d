#!/usr/bin/env bash
# Ctrl+C on a Windows console ends a run without leaving its lock files or temporaries: the
# program runs under Wine in a tmux terminal (Wine's console), and the key goes to it as a console
# event.
#
#   scripts/interruzione_windows.sh
#
# A run of the embedded scenario waits for another's lock (tieni_blocco holds the one it takes
# last), holding all its other locks; Ctrl+C then must leave only the other's lock file. Both
# programs come from build-windows/, built first when they are not up to date.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/requisiti.sh tmux
scripts/costruisci.sh windows compattatore tieni_blocco >/dev/null
build=$PWD/build-windows
wine=$PWD/scripts/wine.sh
"$wine" --prepara
lavoro=$(mktemp -d)
sessione=compattatore-interruzione-$$
tieni=""
fine() {
  tmux kill-session -t "$sessione" 2>/dev/null || true
  [ -z "$tieni" ] || kill "$tieni" 2>/dev/null || true
  "$wine" --fine
  rm -rf "$lavoro"
}
trap fine EXIT

# attendi FILE_O_SCHERMO TESTO SECONDI: waits until the file (or, for "-", the terminal) shows TESTO.
attendi() {
  for ((i = 0; i < $3 * 10; i++)); do
    if [ "$1" = - ]; then
      tmux capture-pane -pt "$sessione" | grep -qF "$2" && return 0
    else
      grep -qF "$2" "$1" 2>/dev/null && return 0
    fi
    sleep 0.1
  done
  echo "interruzione: '$2' non è comparso in $3 s" >&2
  [ "$1" = - ] && tmux capture-pane -pt "$sessione" -p >&2
  return 1
}

blocchi() { (cd "$lavoro" && ls -A | grep -c '^\.compattatore-.*\.blocco$' || true); }

nome=Viterbo_Orte_Roma_Via_Linea_Cintura
nomi=("${nome}_linea.txt" "${nome}_3349-.txt" "${nome}_3349_note.txt"
  "${nome}_3349_rallentamenti.txt" "${nome}_3349_scheda_treno.txt" "${nome}_linea.dat"
  "${nome}_3349.sim" "${nome}_3349.dat")
(cd "$lavoro" && exec "$wine" "$build/tieni_blocco.exe" . 120 "${nomi[@]}" >tieni.txt 2>&1) &
tieni=$!
attendi "$lavoro/tieni.txt" preso 60
tmux new-session -d -s "$sessione" -x 200 -y 20 \
  "cd '$lavoro' && '$wine' '$build/compattatore.exe' --dir . ; echo FINE; sleep 600"
attendi - "attendo che finisca" 60
tenuti=$(blocchi)
tmux send-keys -t "$sessione" C-c
attendi - FINE 60
rimasti=$(cd "$lavoro" && ls -A | grep -v '^tieni.txt$' | tr '\n' ' ')
if [ "$tenuti" -lt 2 ] || [ "$(blocchi)" -ne 1 ] || [ "$(echo $rimasti | wc -w)" -ne 1 ]; then
  echo "interruzione: prima di Ctrl+C $tenuti file di blocco; dopo restano: $rimasti" >&2
  exit 1
fi
echo "interruzione: Ctrl+C ha tolto i $((tenuti - 1)) file di blocco della corsa in attesa"
