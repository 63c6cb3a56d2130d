#!/usr/bin/env bash
# Builds the program (build/, the configuration "sviluppo" of scripts/costruisci.sh) and runs the
# plain compile of the embedded scenario: the files appear beside the executable, in build/.
# Arguments go to the program: scripts/run.sh --dir CARTELLA.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/costruisci.sh sviluppo compattatore
exec build/compattatore "$@"
