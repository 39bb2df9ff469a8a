#!/usr/bin/env python3
"""valid_json.py SCHEMA DOC...: reads each DOC with Python's JSON parser and
checks it against SCHEMA (JSON Schema, draft 7). Names each DOC that is not
JSON or breaks the schema, with where and why; exit status 1 if any does."""
import json
import sys

import jsonschema


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft7Validator.check_schema(schema)
    validator = jsonschema.Draft7Validator(schema)
    bad = 0
    for path in sys.argv[2:]:
        try:
            with open(path, encoding="utf-8") as f:
                doc = json.load(f)
        except (OSError, ValueError) as e:
            print(f"{path}: not JSON: {e}")
            bad += 1
            continue
        for error in validator.iter_errors(doc):
            where = "/".join(str(p) for p in error.absolute_path)
            print(f"{path}: /{where}: {error.message}")
            bad += 1
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
