#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing.
set -euo pipefail
mancanti=()
for pacchetto in "$@"; do
  dpkg-query -W -f='${Status}' "$pacchetto" 2>/dev/null | grep -q "ok installed" || mancanti+=("$pacchetto")
done
[ ${#mancanti[@]} -eq 0 ] && exit 0
echo "Installo: ${mancanti[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${mancanti[@]}"
