#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer.

The layers are the fenced block under the heading "## Layers" in
docs/architecture.md, lowest first, one floor a line; folders named on one
line are neighbours and may not include each other. A file belongs to the
longest listed folder that holds it (app/qt/main.cpp to app), and may include
headers of its own folder and of the floors below. Includes are written by
bare name and found through include directories, so each is matched against
the tree's own files by the path it names; one that matches no listed
folder's file (the standard library, Qt, Xlib, generated sources) is not
ours to check.

    tests/layers/check-layers.py [SOURCE_DIR]
"""

import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)


def read_layers(root):
    """The floors, lowest first, each a list of folders."""
    path = os.path.join(root, "docs", "architecture.md")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    match = re.search(r"^## Layers\n.*?^```[^\n]*\n(.*?)^```", text, re.M | re.S)
    if not match:
        sys.exit(f"{path}: no fenced block under the heading '## Layers'")
    floors = []
    for line in match.group(1).splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            floors.append([folder.strip("/") for folder in line.split()])
    return floors


def owner(path, folders):
    """The longest listed folder that holds path, or None."""
    best = None
    for folder in folders:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
    floors = read_layers(root)
    floor_of = {folder: n for n, floor in enumerate(floors) for folder in floor}
    tops = sorted({folder.split("/")[0] for folder in floor_of})

    # Every source file under a listed folder, by its path from the root.
    files = []
    for top in tops:
        for dirpath, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if name.endswith(SOURCE_SUFFIXES):
                    files.append(os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/"))
    owned = {path: owner(path, floor_of) for path in files}
    owned = {path: folder for path, folder in owned.items() if folder is not None}
    by_name = {}
    for path in owned:
        by_name.setdefault(os.path.basename(path), []).append(path)

    climbs = []
    for path, folder in sorted(owned.items()):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for number, line in enumerate(text.splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            written = match.group(1)
            candidates = [c for c in by_name.get(os.path.basename(written), [])
                          if c == written or c.endswith("/" + written)]
            if not candidates:
                continue
            # Where one name is in several folders (the toolkits' variants of
            # one header), the include path picks one; any allowed one will do.
            allowed = [c for c in candidates
                       if owned[c] == folder or floor_of[owned[c]] < floor_of[folder]]
            if not allowed:
                targets = ", ".join(sorted({owned[c] for c in candidates}))
                climbs.append(f"{path}:{number}: {folder} (floor {floor_of[folder] + 1}) includes "
                              f"{written} from {targets}")
    for climb in climbs:
        print(climb)
    print(f"{len(owned)} files in {len(floor_of)} folders on {len(floors)} floors checked, "
          f"{len(climbs)} includes climb")
    return 1 if climbs else 0


if __name__ == "__main__":
    sys.exit(main())
