#!/usr/bin/env bash
# scripts/copertura.sh: how much of src/ the tests reach. Builds the program and every test with
# clang 14's source-based coverage in build-copertura/ (scripts/costruisci.sh copertura), runs
# every test (the replays of the fuzz corpus, fuzz_ripeti_*, among them), merges the profiles of
# every process and prints the line and branch coverage of src/, in all and folder by folder.
# Not part of the test command. Also writes:
#   build-copertura/copertura/index.html   the sources, each line with its count
#   build-copertura/copertura/scoperte.txt the lines of src/ no test reached, file by file
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/costruisci.sh copertura
b=build-copertura
rm -rf "$b/profili" "$b/copertura"
mkdir -p "$b/profili"

# Every process writes its counts into a few files per program, merged as they go (%4m).
set +e
LLVM_PROFILE_FILE="$PWD/$b/profili/%4m.profraw" ctest --test-dir "$b" -j"$(nproc)" >"$b/ctest.log" 2>&1
esito_prove=$?
set -e
tail -n 3 "$b/ctest.log"

llvm-profdata-14 merge -sparse "$b"/profili/*.profraw -o "$b/copertura.profdata"
oggetti=("$b/compattatore_tests")
for p in "$b/compattatore" "$b"/fuzz/fuzz_*_ripeti; do oggetti+=(-object "$p"); done
filtro='(^|/)(tests|fuzz|bench|_deps)/|^/usr/'
llvm-cov-14 export -summary-only -instr-profile "$b/copertura.profdata" \
  -ignore-filename-regex="$filtro" "${oggetti[@]}" >"$b/copertura.json"
llvm-cov-14 show -format=html -output-dir "$b/copertura" -instr-profile "$b/copertura.profdata" \
  -ignore-filename-regex="$filtro" "${oggetti[@]}" >/dev/null
llvm-cov-14 show -instr-profile "$b/copertura.profdata" -ignore-filename-regex="$filtro" \
  -show-line-counts-or-regions "${oggetti[@]}" |
  awk '/^\/.*:$/ { file = $0 } /^ *[0-9]+\| *0\|/ { print file " " $0 }' >"$b/copertura/scoperte.txt"

python3 - "$b/copertura.json" "$PWD/src/" <<'EOF'
import json, sys
from collections import defaultdict
dati = json.load(open(sys.argv[1]))["data"][0]
radice = sys.argv[2]
cartelle = defaultdict(lambda: [0, 0, 0, 0])
for f in dati["files"]:
    if not f["filename"].startswith(radice):
        continue
    s = f["summary"]
    c = cartelle[f["filename"][len(radice):].split("/")[0]]
    c[0] += s["lines"]["covered"]; c[1] += s["lines"]["count"]
    c[2] += s["branches"]["covered"]; c[3] += s["branches"]["count"]
def riga(nome, c):
    pl = 100 * c[0] / c[1] if c[1] else 100
    pb = 100 * c[2] / c[3] if c[3] else 100
    print(f"{nome:<16} {c[0]:>6}/{c[1]:<6} {pl:5.1f}%   {c[2]:>6}/{c[3]:<6} {pb:5.1f}%")
print(f"{'cartella':<16} {'righe':^20}  {'rami':^20}")
totale = [0, 0, 0, 0]
for nome in sorted(cartelle):
    riga("src/" + nome, cartelle[nome])
    totale = [a + b for a, b in zip(totale, cartelle[nome])]
riga("src/ in tutto", totale)
EOF
echo "pagine: $b/copertura/index.html; righe mai raggiunte: $b/copertura/scoperte.txt"
exit $esito_prove
