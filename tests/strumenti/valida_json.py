#!/usr/bin/env python3
"""Runs the program on a table of cases and validates what each prints against a JSON Schema.

    valida_json.py --programma COMPATTATORE --schema SCHEMA.json --casi CASI.json
    valida_json.py --schema SCHEMA.json --documenti DOCUMENTO.json...

The second form validates documents a test has already written.

CASI.json is an object:
    "stderr_vuoto": true when a case must print nothing on standard error (default false),
    "casi": a list of cases, each with
        "nome":       what the case is, for the report;
        "file":       {"PATH": "text"}, files written (UTF-8, CR LF line ends) in a fresh folder;
        "cartelle":   ["PATH"], folders made there;
        "prima":      [[ARG...]], commands of the program run there first, each ending with 0;
        "argomenti":  [ARG...], the command whose standard output is checked;
        "stato":      the exit status it must end with;
        "attesi":     {"KEY": VALUE}, top-level fields the document must hold (optional).
Standard output must be exactly one JSON document, valid against the schema (draft 2020-12).
"""
import argparse
import json
import subprocess
import sys
import tempfile
from pathlib import Path

import jsonschema


def esegui(programma, argomenti, cartella):
    return subprocess.run([str(Path(programma).resolve()), *argomenti], cwd=cartella, capture_output=True, timeout=60)


def prova(caso, programma, validatore, stderr_vuoto):
    """The faults of one case, as lines of text."""
    with tempfile.TemporaryDirectory() as cartella:
        base = Path(cartella)
        for c in caso.get("cartelle", []):
            (base / c).mkdir(parents=True)
        for nome, testo in caso.get("file", {}).items():
            (base / nome).parent.mkdir(parents=True, exist_ok=True)
            (base / nome).write_bytes(testo.replace("\n", "\r\n").encode("utf-8"))
        for argomenti in caso.get("prima", []):
            r = esegui(programma, argomenti, cartella)
            if r.returncode != 0:
                return [f"{argomenti} finisce con {r.returncode}: {r.stderr.decode(errors='replace')}"]
        r = esegui(programma, caso["argomenti"], cartella)
    difetti = []
    if r.returncode != caso["stato"]:
        difetti.append(f"stato {r.returncode}, atteso {caso['stato']}")
    if stderr_vuoto and r.stderr:
        difetti.append(f"standard error non vuoto: {r.stderr.decode(errors='replace')!r}")
    try:
        documento = json.loads(r.stdout.decode("utf-8"))
    except (UnicodeDecodeError, json.JSONDecodeError) as e:
        return difetti + [f"standard output non è un documento JSON ({e}): {r.stdout[:400]!r}"]
    for errore in validatore.iter_errors(documento):
        percorso = "/".join(str(p) for p in errore.absolute_path)
        difetti.append(f"schema: /{percorso}: {errore.message}")
    for chiave, valore in caso.get("attesi", {}).items():
        if documento.get(chiave) != valore:
            difetti.append(f"{chiave} = {documento.get(chiave)!r}, atteso {valore!r}")
    return difetti


def documenti(nomi, validatore):
    """Validates documents already written; prints each fault with its document and place."""
    errori = 0
    for nome in nomi:
        documento = json.loads(Path(nome).read_text(encoding="utf-8"))
        for errore in validatore.iter_errors(documento):
            errori += 1
            percorso = "/".join(str(p) for p in errore.absolute_path)
            print(f"{nome}: schema: /{percorso}: {errore.message[:300]}", file=sys.stderr)
    print(f"{len(nomi)} documenti, {errori} difetti")
    return 1 if errori else 0


def main():
    a = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    a.add_argument("--programma")
    a.add_argument("--schema", required=True)
    fonte = a.add_mutually_exclusive_group(required=True)
    fonte.add_argument("--casi")
    fonte.add_argument("--documenti", nargs="+")
    opzioni = a.parse_args()
    schema = json.loads(Path(opzioni.schema).read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validatore = jsonschema.Draft202012Validator(schema)
    if opzioni.documenti:
        return documenti(opzioni.documenti, validatore)
    if not opzioni.programma:
        a.error("--casi vuole --programma")
    tabella = json.loads(Path(opzioni.casi).read_text(encoding="utf-8"))
    falliti = 0
    for caso in tabella["casi"]:
        difetti = prova(caso, opzioni.programma, validatore, tabella.get("stderr_vuoto", False))
        print(f"{'ok  ' if not difetti else 'NO  '}{caso['nome']}")
        for d in difetti:
            print(f"      {d}")
        falliti += bool(difetti)
    print(f"{len(tabella['casi']) - falliti} casi validi su {len(tabella['casi'])}")
    return 1 if falliti else 0


if __name__ == "__main__":
    sys.exit(main())
