#!/usr/bin/env bash
# Builds the packages of a release into dist/: the Debian package
# (compattatore_<version>_<arch>.deb, from a Release build in build-rilascio/), the Windows ZIP
# (compattatore-<version>-windows-x86_64.zip, from a Release cross build in
# build-rilascio-windows/) and the extension for editors of TextMate grammars
# (compattatore-<version>.vsix, packaged by @vscode/vsce from editor/textmate, in
# build-rilascio-vsix/, with the npm packages of its package-lock.json). Neither build has tests:
# run scripts/test.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p dist

echo "== pacchetto Debian"
scripts/costruisci.sh rilascio
(cd build-rilascio && cpack -G DEB -B "$PWD/../dist" >/dev/null)

echo "== ZIP per Windows"
scripts/costruisci.sh rilascio-windows
(cd build-rilascio-windows && cpack -G ZIP -B "$PWD/../dist" >/dev/null)

echo "== estensione per gli editor di grammatiche TextMate"
scripts/requisiti.sh unzip
command -v npm >/dev/null || scripts/requisiti.sh nodejs npm  # or Node.js from elsewhere, with npm
versione=$(sed -n 's/^project(compattatore VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
grep -q "\"version\": \"$versione\"" editor/textmate/package.json || {
  echo "editor/textmate/package.json: la versione non è $versione" >&2
  exit 1
}
vsix=$PWD/dist/compattatore-$versione.vsix
rm -rf build-rilascio-vsix
cp -r editor/textmate build-rilascio-vsix
(cd build-rilascio-vsix && npm ci --no-audit --no-fund >/dev/null &&
  npx --no-install vsce package --skip-license --allow-missing-repository -o "$vsix" >/dev/null)
# Its files: the extension's own, and the language client it requires among its node_modules.
contenuto=$(unzip -Z1 "$vsix" | grep -v '^extension/node_modules/' | sort)
atteso=$(printf '%s\n' '[Content_Types].xml' extension.vsixmanifest extension/extension.js \
  extension/language-configuration.json extension/package.json \
  extension/syntaxes/compattatore-linea.tmLanguage.json \
  extension/syntaxes/compattatore-treno.tmLanguage.json \
  extension/syntaxes/compattatore.tmLanguage.json | sort)
[ "$contenuto" = "$atteso" ] || {
  echo "file inattesi nel .vsix: $contenuto" >&2
  exit 1
}
unzip -Z1 "$vsix" | grep -x extension/node_modules/vscode-languageclient/node.js >/dev/null || {
  echo "il .vsix non ha vscode-languageclient" >&2
  exit 1
}

rm -rf dist/_CPack_Packages
ls -l dist/compattatore_*.deb dist/compattatore-*.zip dist/compattatore-*.vsix
