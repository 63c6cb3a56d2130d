#!/usr/bin/env bash
# Runs a Windows program under Wine, in the Wine prefix of the Windows build (build-windows/wine;
# WINEPREFIX chooses another), made on first use without a display: no Mono or Gecko, which would
# wait for a click that never comes.
#
#   scripts/wine.sh PROGRAMMA.exe [ARGOMENTI...]
#   scripts/wine.sh --prepara  only makes the prefix (before ctest runs the tests in it)
#   scripts/wine.sh --fine     waits until the prefix's Wine server has ended (a script's last step)
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$radice/build-windows/wine} WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
"$radice/scripts/requisiti.sh" wine wine64

if [ "${1:-}" = --fine ]; then
  # The server stays up a few seconds after the last program; nothing of a run is left behind.
  timeout 60 wineserver -w || true
  exit 0
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== prefisso Wine: $WINEPREFIX" >&2
  mkdir -p "$WINEPREFIX"
  # The time limit keeps a stuck first start from blocking the run.
  if ! timeout 300 wineboot --init >"$WINEPREFIX.log" 2>&1; then
    cat "$WINEPREFIX.log" >&2
    exit 1
  fi
  timeout 120 wineserver -w
fi
[ "${1:-}" = --prepara ] && exit 0
exec wine "$@"
