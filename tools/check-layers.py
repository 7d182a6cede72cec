#!/usr/bin/env python3
"""Checks that the layers of src/ include only downwards.

    tools/check-layers.py [SRC_DIR]

Each folder of src/ belongs to a layer; a file may include the headers of its
own layer and of the layers below it, never of one above. Folders that share a
layer include one another one way only: a cycle of folders is an error, as the
folders would then name two layers where the code has one. The concrete
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


def present(src, ranks):
    return {folder: rank for folder, rank in ranks.items() if os.path.isdir(os.path.join(src, folder))}


def headers_by_name(src, ranks):
    owners = {}
    for folder in ranks:
        for name in os.listdir(os.path.join(src, folder)):
            if name.endswith(".h"):
                owners[name] = folder
    return owners


def includes(src, ranks, owners):
    """Every include of a header of src/: (folder, where, owner, header)."""
    for folder in sorted(ranks):
        for name in sorted(os.listdir(os.path.join(src, folder))):
            path = os.path.join(src, folder, name)
            with open(path, encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    header = match and os.path.basename(match.group(1))
                    if header in owners:
                        yield folder, f"{folder}/{name}:{number}", owners[header], header


def violations(src):
    ranks = present(src, layer_of_folder())
    owners = headers_by_name(src, ranks)
    for folder, where, owner, header in includes(src, ranks, owners):
        if ranks[owner] > ranks[folder]:
            yield f"{where}: includes {owner}/{header}, a higher layer"
        elif folder not in RESTRICTED.get(header, {folder}):
            yield f"{where}: names {header}, which only {sorted(RESTRICTED[header])} may"


def folder_cycles(src):
    """One line per cycle among folders: the folders, and an include of each step."""
    ranks = present(src, layer_of_folder())
    owners = headers_by_name(src, ranks)
    edges = {}
    for folder, where, owner, _ in includes(src, ranks, owners):
        if owner != folder:
            edges.setdefault(folder, {}).setdefault(owner, where)
    found = []
    for start in sorted(edges):
        # Paths from `start` back to itself through folders after it in
        # name order, so that each cycle is reported once.
        stack = [(start, [start])]
        while stack:
            folder, path = stack.pop()
            for nxt in sorted(edges.get(folder, {})):
                if nxt == start:
                    steps = path + [start]
                    where = ", ".join(edges[a][b] for a, b in zip(steps, steps[1:]))
                    found.append(f"folder cycle {' -> '.join(steps)} ({where})")
                elif nxt > start and nxt not in path:
                    stack.append((nxt, path + [nxt]))
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    unknown = sorted(set(os.listdir(src)) - set(layer_of_folder()) - {"CMakeLists.txt"})
    found = list(violations(src)) + folder_cycles(src)
    found += [f"{folder}/: belongs to no layer" for folder in unknown]
    for problem in found:
        print(problem)
    if found:
        return 1
    print(f"{len(LAYERS)} layers, every include points down, no folder cycle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
