#!/usr/bin/env python3
"""Validates JSON documents against a JSON Schema (draft 2020-12).

Uso: valida_schema.py SCHEMA DOCUMENTO...

The schema is checked first; then every document. Each fault is printed on standard error with
the document, the place in it and what the schema asked; the status is 1 when there is any, 2
when the validator (Debian's python3-jsonschema) is missing or the arguments are wrong.
"""
import json
import sys

try:
    import jsonschema
except ImportError:
    print("valida_schema.py: manca il modulo jsonschema (pacchetto python3-jsonschema)", file=sys.stderr)
    sys.exit(2)


def main(argomenti):
    if len(argomenti) < 2:
        print("uso: valida_schema.py SCHEMA DOCUMENTO...", file=sys.stderr)
        return 2
    with open(argomenti[0], encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validatore = jsonschema.Draft202012Validator(schema)
    errori = 0
    for documento in argomenti[1:]:
        with open(documento, encoding="utf-8") as f:
            dati = json.load(f)
        for e in validatore.iter_errors(dati):
            errori += 1
            if errori <= 20:
                print(f"{documento}: {e.json_path}: {e.message[:300]}", file=sys.stderr)
    if errori:
        print(f"valida_schema.py: {errori} errori", file=sys.stderr)
    return 1 if errori else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
