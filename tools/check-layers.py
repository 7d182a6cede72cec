#!/usr/bin/env python3
"""Checks that the layers of src/ include only downwards.

    tools/check-layers.py [SRC_DIR]

Each folder of src/ belongs to a layer; a file may include the headers of its
own layer and of the layers below it, never of one above. The concrete
renderer is named only by the application. Prints every offending include and
exits with 1 when there is one (the test suite runs this as "layers").
"""
import os
import re
import sys

# Lowest first; one library per line (see src/CMakeLists.txt).
LAYERS = [
    ("glm", ["ext"]),
    ("scene", ["scene", "anim"]),
    ("render", ["render"]),
    ("import", ["import"]),
    ("engine", ["engine"]),
    ("demo", ["demo"]),
    ("app", ["app"]),
]
# Headers that only the named folders may include, whatever their layer.
RESTRICTED = {"qtrenderer.h": {"render", "app"}}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of_folder():
    return {folder: rank for rank, (_, folders) in enumerate(LAYERS) for folder in folders}


def headers_by_name(src, ranks):
    owners = {}
    for folder in ranks:
        for name in os.listdir(os.path.join(src, folder)):
            if name.endswith(".h"):
                owners[name] = folder
    return owners


def violations(src):
    ranks = layer_of_folder()
    owners = headers_by_name(src, ranks)
    for folder, rank in sorted(ranks.items()):
        for name in sorted(os.listdir(os.path.join(src, folder))):
            path = os.path.join(src, folder, name)
            with open(path, encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    header = match and os.path.basename(match.group(1))
                    if header not in owners:
                        continue
                    owner = owners[header]
                    where = f"{folder}/{name}:{number}"
                    if ranks[owner] > rank:
                        yield f"{where}: includes {owner}/{header}, a higher layer"
                    elif folder not in RESTRICTED.get(header, {folder}):
                        yield f"{where}: names {header}, which only {sorted(RESTRICTED[header])} may"


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    unknown = sorted(set(os.listdir(src)) - set(layer_of_folder()) - {"CMakeLists.txt"})
    found = list(violations(src))
    found += [f"{folder}/: belongs to no layer" for folder in unknown]
    for problem in found:
        print(problem)
    if found:
        return 1
    print(f"{len(LAYERS)} layers, every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
