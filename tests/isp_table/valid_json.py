#!/usr/bin/env python3
"""valid_json.py SCHEMA DOC...: reads each DOC with Python's JSON parser and
checks it against SCHEMA (JSON Schema, draft 7). Names each DOC that is not
JSON, has a key twice in one object (a parser keeps one of them, which one
is its own choice) or breaks the schema, with where and why; exit status 1
if any does. A SCHEMA with a key twice is refused too."""
import json
import sys

import jsonschema


def no_twice(pairs):
    """An object's pairs as a dict, refusing a key given twice."""
    seen = {}
    for key, value in pairs:
        if key in seen:
            raise ValueError(f"key {key!r} twice in one object")
        seen[key] = value
    return seen


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f, object_pairs_hook=no_twice)


def main():
    schema = load(sys.argv[1])
    jsonschema.Draft7Validator.check_schema(schema)
    validator = jsonschema.Draft7Validator(schema)
    bad = 0
    for path in sys.argv[2:]:
        try:
            doc = load(path)
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
