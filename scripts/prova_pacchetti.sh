#!/usr/bin/env bash
# Checks the two packages as an author would receive them, made from the builds of the test
# command (build/ and build-windows/; after scripts/test.sh they are up to date, otherwise they
# are built first):
# - the Debian package: its files, its dependencies, and the program unpacked from it, run from
#   another folder with --dir, writing the same bytes as the program of build/;
# - the Windows ZIP: its files, and the .exe unpacked from it, run under Wine from another folder,
#   writing the embedded scenario beside itself with the same bytes.
# scripts/rilascio.sh builds the packages of a release from Release builds of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/requisiti.sh dpkg-dev unzip
echo "== build e build-windows"
scripts/costruisci.sh sviluppo >/dev/null  # cpack installs from the whole build
scripts/costruisci.sh windows >/dev/null
wine=$PWD/scripts/wine.sh
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
stato=0
male() {
  echo "PACCHETTO: $*" >&2
  stato=1
}

# The files of the plain run, as the program of build/ writes them.
mkdir -p "$lavoro/atteso"
build/compattatore --dir "$lavoro/atteso" >/dev/null
uguali() {  # uguali CARTELLA: the six files of the plain run, byte for byte
  local f
  for f in "$lavoro"/atteso/*; do
    cmp -s "$f" "$1/$(basename "$f")" || male "$(basename "$f") diverso in $1"
  done
}

echo "== pacchetto Debian"
(cd build && cpack -G DEB -B "$lavoro/deb" >"$lavoro/cpack.log" 2>&1) || { cat "$lavoro/cpack.log" >&2; exit 1; }
deb=$(ls "$lavoro"/deb/compattatore_*.deb)
contenuto=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sort)
attesi=(./usr/bin/compattatore ./usr/share/doc/compattatore/README.md
  ./usr/share/nvim/site/lua/compattatore/lsp.lua)
for cartella in ./usr/share/vim/vimfiles ./usr/share/nvim/site; do
  attesi+=("$cartella"/{ftdetect,ftplugin,syntax}/compattatore.vim)
done
[ "$contenuto" = "$(printf '%s\n' "${attesi[@]}" | sort)" ] ||
  male "file inattesi nel .deb: $contenuto"
dpkg-deb -f "$deb" Depends | grep -q libc6 || male "il .deb non dipende da libc6"
dpkg-deb -x "$deb" "$lavoro/radice"
mkdir -p "$lavoro/scenari"
(cd / && "$lavoro/radice/usr/bin/compattatore" --dir "$lavoro/scenari" >/dev/null) ||
  male "compattatore --dir dal .deb: stato $?"
uguali "$lavoro/scenari"
echo "$(basename "$deb"): $(echo "$contenuto" | wc -l) file, Depends: $(dpkg-deb -f "$deb" Depends)"

echo "== ZIP per Windows"
(cd build-windows && cpack -G ZIP -B "$lavoro/zip" >"$lavoro/cpack.log" 2>&1) || { cat "$lavoro/cpack.log" >&2; exit 1; }
zip=$(ls "$lavoro"/zip/compattatore-*-windows-x86_64.zip)
radice=$(basename "$zip" .zip)
elenco=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$elenco" = "$(printf '%s\n' "$radice/README.md" "$radice/bin/compattatore.exe")" ] ||
  male "file inattesi nello ZIP: $elenco"
unzip -q "$zip" -d "$lavoro/windows"
mkdir -p "$lavoro/altrove"
(cd "$lavoro/altrove" && "$wine" "$lavoro/windows/$radice/bin/compattatore.exe" >/dev/null) ||
  male "compattatore.exe dallo ZIP: stato $?"
uguali "$lavoro/windows/$radice/bin"
"$wine" --fine
echo "$(basename "$zip"): $(echo "$elenco" | wc -l) file"
exit "$stato"
