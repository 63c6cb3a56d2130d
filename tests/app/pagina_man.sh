#!/usr/bin/env bash
# The manual page that the program writes: groff has nothing to warn about, and the page says
# what the help of every command says (its text, each option and its line of help).
#   tests/app/pagina_man.sh PROGRAMMA
set -uo pipefail
programma=$1
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
stato=0
male() {
  echo "PAGINA: $*" >&2
  stato=1
}

"$programma" --man >"$lavoro/compattatore.1" || male "--man: stato $?"
avvisi=$(groff -k -ww -man -z "$lavoro/compattatore.1" 2>&1)
[ -z "$avvisi" ] || male "groff -ww: $avvisi"

# Text as one line of words, with the typographic hyphens, minus signs and quotes as typed.
parole() {
  sed -e 's/\xe2\x80\x90/-/g; s/\xe2\x88\x92/-/g; s/\xe2\x80\x99/'"'"'/g; s/\xe2\x80\x98/'"'"'/g' |
    tr -s ' \n\t' '   ' | sed 's/^ //; s/ $//'
}
pagina=$(groff -k -man -Tutf8 -P-cbou "$lavoro/compattatore.1" 2>/dev/null | parole)

# Every paragraph of a help, and every option of its "Opzioni:" block, is in the page.
controlla() {  # controlla ARGOMENTI...: the help that "PROGRAMMA ARGOMENTI --help" prints
  local aiuto paragrafo
  aiuto=$("$programma" "$@" --help)
  while IFS= read -r -d $'\x1e' paragrafo; do
    # Text followed by the options in one paragraph: each on its own.
    if [[ $paragrafo != Opzioni:* && $paragrafo == *$'\n'Opzioni:* ]]; then
      controlla_paragrafo "$*" "${paragrafo%%$'\n'Opzioni:*}"
      paragrafo=Opzioni:${paragrafo#*$'\n'Opzioni:}
    fi
    controlla_paragrafo "$*" "$paragrafo"
  done < <(awk 'BEGIN { RS = ""; ORS = "\x1e" } { print }' <<<"$aiuto")
}

controlla_paragrafo() {  # controlla_paragrafo COMANDO PARAGRAFO
  local paragrafo=$2 riga opzione
  set -- "$1"
  case $paragrafo in
    Uso:*) ;;
    Comandi:*) ;;
    Opzioni:*)
      while IFS= read -r riga; do
        [[ $riga == Opzioni: ]] && continue
        # "  -o, --uscita PERCORSO.html  la pagina da scrivere": the option, then its help.
        [[ $riga =~ ^\ +(-.,\ )?(--[^ ]+(\ [^ ]+)?)\ \ +(.*)$ ]] || male "riga d'opzione illeggibile: $riga"
        opzione=${BASH_REMATCH[2]} riga=${BASH_REMATCH[4]}
        [[ $pagina == *"$opzione"* ]] || male "'$* --help': l'opzione '$opzione' non è nella pagina"
        [[ $pagina == *"$riga"* ]] || male "'$* --help': '$riga' non è nella pagina"
      done <<<"$paragrafo"
      ;;
    *)
      paragrafo=$(parole <<<"$paragrafo")
      [[ -z $paragrafo || $pagina == *"$paragrafo"* ]] ||
        male "'$* --help': questo paragrafo non è nella pagina: $paragrafo"
      ;;
  esac
}

controlla
for comando in $("$programma" --help | sed -n '/^Comandi:/,/^$/ { s/^  \([a-z]*\).*/\1/p }'); do
  controlla "$comando"
  [[ $pagina == *" $comando"* ]] || male "il comando $comando non è nella pagina"
done
[ $stato -eq 0 ] && echo "la pagina di manuale dice ciò che dice l'aiuto"
exit $stato
