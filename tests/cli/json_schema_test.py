#!/usr/bin/env python3
"""Validates the JSON of every command that has a schema (schema/COMMAND.schema.json) against it.

Each command runs with --json on one project file, on an estate (a folder, the same project again, and a
project file that does not exist) and, where it takes --keep-going, on a project whose member file is
gone; its --json-lines output, put back together, must be the same document. A document with a field of
the wrong type must fail, so a schema that accepts anything is caught too.
    json_schema_test.py SCHEMA_FOLDER EXAMPLES_FOLDER VBPROJEKT
"""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

import jsonschema

schema_folder, examples, program = (pathlib.Path(arg) for arg in sys.argv[1:4])
failures = []


def run(*args):
    result = subprocess.run([str(program), *args], capture_output=True, text=True)
    if result.returncode not in (0, 1):
        failures.append(f"vbprojekt {' '.join(args)}: exit {result.returncode}: {result.stderr}")
        return None
    return result.stdout


def first_wrong_type(document):
    """The document with its first number or string turned into a list, or None when it has neither."""
    if isinstance(document, dict):
        for key, value in document.items():
            if isinstance(value, (int, str)) and not isinstance(value, bool):
                return {**document, key: [value]}
            changed = first_wrong_type(value)
            if changed is not None:
                return {**document, key: changed}
    if isinstance(document, list):
        for i, value in enumerate(document):
            changed = first_wrong_type(value)
            if changed is not None:
                return document[:i] + [changed] + document[i + 1:]
    return None


with tempfile.TemporaryDirectory() as work:
    work = pathlib.Path(work)
    shutil.copytree(examples / "Beispiel", work / "Beispiel")
    shutil.copytree(examples / "Beispiel", work / "Lueckenhaft")
    (work / "Lueckenhaft" / "Kunde.cls").unlink()
    (work / "Lueckenhaft" / "Hauptfenster.frm").unlink()
    project = str(work / "Beispiel" / "Beispiel.vbp")
    gappy = str(work / "Lueckenhaft" / "Beispiel.vbp")
    estate = [str(work), project, str(work / "fehlt.vbp")]

    schemas = sorted(schema_folder.glob("*.schema.json"))
    if not schemas:
        failures.append(f"no schema in {schema_folder}")
    for path in schemas:
        command = path.name.removesuffix(".schema.json")
        schema = json.loads(path.read_text(encoding="utf-8"))
        try:
            jsonschema.Draft202012Validator.check_schema(schema)
        except jsonschema.SchemaError as error:
            failures.append(f"{path.name} is no valid draft 2020-12 schema: {error.message}")
            continue
        validator = jsonschema.Draft202012Validator(schema)
        help_text = run(command, "--help") or ""
        calls = [[project], estate]
        if "--keep-going" in help_text:
            calls += [["--keep-going", gappy], ["--keep-going", gappy, project]]
        for operands in calls:
            text = run(command, "--json", *operands)
            if text is None:
                continue
            document = json.loads(text)
            for error in list(validator.iter_errors(document))[:3]:
                failures.append(f"{command} --json {' '.join(operands)}: {error.json_path}: {error.message[:200]}")
            wrong = first_wrong_type(document)
            if wrong is not None and validator.is_valid(wrong):
                failures.append(f"{path.name} accepts a wrong type in the document of {command} {operands}")
            if "projects" not in document:
                continue
            lines = [json.loads(line) for line in (run(command, "--json-lines", *operands) or "").splitlines()]
            entries = [line for line in lines if "project" in line]
            joined = {"projects": entries}
            for line in lines[len(entries):]:
                joined.update(line)
            if joined != document:
                failures.append(f"{command} --json-lines {' '.join(operands)} differs from --json")

for failure in failures:
    print(failure)
print(f"{len(schemas)} schemas checked, {len(failures)} failures")
sys.exit(1 if failures else 0)
