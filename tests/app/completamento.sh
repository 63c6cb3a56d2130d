#!/usr/bin/env bash
# The bash completion that the program writes, loaded in bash and asked, as bash asks it, for
# commands, options, option values and files of each kind in a folder of its own.
#   tests/app/completamento.sh PROGRAMMA
set -uo pipefail
programma=$1
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
# shellcheck disable=SC1090
source <("$programma" --completamento-bash) || exit 1
cd "$lavoro" || exit 1
mkdir scenari
touch Prova_linea.txt Prova_7-.txt note.txt Prova_7.sim Prova_7.dat Prova_linea.dat percorso.html

stato=0
# prova "ATTESO" PAROLE...: the words of the command line, the last one the word being completed.
prova() {
  local atteso=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _compattatore
  local dato
  dato=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//')
  if [ "$dato" != "$atteso" ]; then
    echo "COMPLETAMENTO: '$*' dà '$dato', atteso '$atteso'" >&2
    stato=1
  fi
}

prova "codici compila confronta decompila disegna esegui esempio lsp mostra ripara verifica" \
  compattatore ''
prova "codici compila confronta" compattatore co
prova "--dir --help --version" compattatore --
prova "--avvisi-come-errori --codifica --dir --disegna --formato --help --nome --osserva --senza-tracciato --treno" \
  compattatore compila --
prova "--avvisi-come-errori --codifica --dir --disegna --formato --help --nome --osserva --senza-tracciato --treno" \
  compattatore compile Prova_linea.txt --
prova "json testo" compattatore compila --formato ''
prova "json" compattatore verifica --formato = j
prova "cp1252 utf-8" compattatore compila Prova_linea.txt --codifica ''
# Files by kind: the line source first, the train source second; folders to walk into.
prova "Prova_linea.txt scenari" compattatore compila ''
prova "Prova_7-.txt scenari" compattatore compila --nome X Prova_linea.txt ''
prova "Prova_7-.txt scenari" compattatore compila Prova_linea.txt --dir scenari ''
prova "scenari" compattatore compila Prova_linea.txt Prova_7-.txt --dir ''
prova "Prova_7.dat Prova_7.sim Prova_linea.dat scenari" compattatore mostra ''
prova "Prova_7.dat Prova_7.sim" compattatore mostra Prova_linea.dat Prova_7
prova "percorso.html scenari" compattatore disegna Prova_7.sim -o ''
prova "scenari" compattatore esempio ''
prova "" compattatore codici ''
[ $stato -eq 0 ] && echo "completamento come atteso"
exit $stato
