#!/usr/bin/env python3
"""Fails when an include crosses the layers of src/ the wrong way.

The core folders use standard C++ only and may include the core folders listed for them; the Qt folders
may include the core, src/ui/ and themselves, and only the shell includes the editors it opens. The rules of
a window folder's dialogs live in a subfolder of src/edit/ named after it (src/edit/define/ for src/define/),
each a layer of its own; no other folder nests.
docs/architecture.md draws the same table; a new folder under src/ must be added to it here.
Usage: check-layers.py SOURCE_DIR
"""
import re
import sys
from pathlib import Path

CORE = {
    "model": set(),
    "edit": {"model"},
    "edit/define": {"edit", "plc", "model"},
    "edit/screen": {"edit/define", "edit", "plc", "model"},
    "edit/shell": {"edit/define", "edit", "plc", "model"},
    "report": {"edit/define", "edit", "plc", "model"},
    "plc": {"model"},
    "persist": {"plc", "model"},
    "comm": {"persist", "plc", "model"},
    "sim": {"edit/define", "edit", "plc", "model"},
    "compare": {"persist", "plc", "model"},
}
ALL_CORE = set(CORE)
QT = {
    "ui": ALL_CORE,
    "screen": ALL_CORE | {"ui"},
    "define": ALL_CORE | {"ui"},
    "print": ALL_CORE | {"ui"},
    "simulate": ALL_CORE | {"ui"},
    "shell": ALL_CORE | {"ui", "screen", "define", "print", "simulate"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Q[A-Za-z0-9]*|Qt[A-Za-z]*/.*|q[a-z0-9]*\.h)$")


def acyclic(table):
    state = {}

    def visit(node):
        if state.get(node) == 1:
            return False
        if state.get(node) == 2:
            return True
        state[node] = 1
        ok = all(visit(dep) for dep in table.get(node, ()) if dep != node)
        state[node] = 2
        return ok

    return all(visit(node) for node in table)


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    src = root / "src"
    faults = []
    if not acyclic({**CORE, **QT}):
        faults.append("the layer table itself has a cycle")
    layers = set(CORE) | set(QT)
    folders = sorted(str(p.relative_to(src)) for p in src.rglob("*") if p.is_dir())
    for name in folders:
        folder = src / name
        if name not in layers:
            parent = name.rsplit("/", 1)[0]
            if "/" in name and parent in layers:
                faults.append(f"src/{name}/: folders do not nest inside a layer (add it to tools/check-layers.py)")
            elif "/" not in name:
                faults.append(f"src/{name}/: a folder the layer table does not know (add it to tools/check-layers.py)")
            continue
        allowed = (CORE[name] if name in CORE else QT[name]) | {name}
        for path in sorted(folder.iterdir()):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, header = match.groups()
                where = f"{path.relative_to(root)}:{number}"
                if kind == "<":
                    if name in CORE and QT_HEADER.match(header):
                        faults.append(f"{where}: the core includes Qt <{header}>")
                    continue
                if "/" not in header:
                    continue  # a header of the same folder
                directory = header.rsplit("/", 1)[0]
                if directory in layers and directory not in allowed:
                    faults.append(f"{where}: src/{name}/ may not include {header}")
                elif directory not in layers and (src / directory).is_dir():
                    faults.append(f"{where}: {header} is in a folder the layer table does not know")
    for fault in faults:
        print(fault)
    print(f"layer check: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
