#!/usr/bin/env python3
"""Checks the include structure of src/ against src/layers.txt.

src/layers.txt names the layers of src/, lowest first, one a line (folders separated by blanks, '#' starts a
comment). Every source file belongs to the longest named folder that holds it; it may include files of its
own layer and of lower ones. Prints each include that climbs, each folder holding sources that no layer
names and each named folder that does not exist; exits 1 if there is any.
Usage: scripts/check-layers.py [PROJECT_ROOT]
"""
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def read_layers(table):
    """Folder (relative to src, '/'-separated) -> layer number, from the table's lines."""
    layers = {}
    number = 0
    for line in table.read_text(encoding="utf-8").splitlines():
        folders = line.split("#", 1)[0].split()
        if not folders:
            continue
        for folder in folders:
            layers[folder.strip("/")] = number
        number += 1
    return layers


def owner(relative, layers):
    """The longest named folder holding the src-relative path, or None."""
    best = None
    for folder in layers:
        if relative == folder or relative.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def resolve(name, including, src):
    """The file an include names: relative to src (the include root) or to the including file."""
    for candidate in (src / name, including.parent / name):
        if candidate.is_file():
            return candidate.resolve()
    return None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    src = root / "src"
    table = src / "layers.txt"
    if not table.is_file():
        print(f"{table} is missing")
        return 1
    layers = read_layers(table)
    problems = [f"src/layers.txt names {folder}/, which does not exist"
                for folder in sorted(layers) if not (src / folder).is_dir()]
    unnamed = set()
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(src).as_posix()
        mine = owner(relative, layers)
        if mine is None:
            unnamed.add(path.parent.relative_to(src).as_posix())
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = resolve(match.group(1), path, src)
            if target is None or src.resolve() not in target.parents:
                continue
            theirs = owner(target.relative_to(src.resolve()).as_posix(), layers)
            if theirs is not None and layers[theirs] > layers[mine]:
                problems.append(f"src/{relative}:{number} includes {match.group(1)}: {theirs}/ is above {mine}/")
    problems += [f"src/{folder}/ holds sources but no layer of src/layers.txt names it" for folder in sorted(unnamed)]
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
