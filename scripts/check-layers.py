#!/usr/bin/env python3
"""Holds the sources to the layers in cmake/layers.txt: a file of a folder
may include headers of that folder and of the folders its line leads to
(directly or through theirs); a test of a folder also those of testsupport
and of its "<folder>/tests" line. Fails, listing each, on an #include
"folder/..." that crosses a layer it should not, on a folder of sources
that has no line, and on layers that use each other in a circle.
Run: python3 scripts/check-layers.py"""
import os
import re
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/')


def read_layers(path):
    """Each line's name and the names it uses."""
    layers = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            name, _, uses = line.partition(":")
            if not _ or name.strip() in layers:
                sys.exit(f"{path}:{number}: not a new 'name: uses...' line")
            layers[name.strip()] = uses.split()
    return layers


def reach(layers, start):
    """start and every library it leads to."""
    seen, todo = set(), [start]
    while todo:
        name = todo.pop()
        if name not in seen:
            seen.add(name)
            todo.extend(layers.get(name, []))
    return seen


def circle(layers):
    """A library that leads back to itself, or None."""
    for name, uses in layers.items():
        for used in uses:
            if name in reach(layers, used):
                return name
    return None


def main():
    os.chdir(ROOT)
    layers = read_layers("cmake/layers.txt")
    faults = []
    for name, uses in layers.items():
        for used in uses:
            if used not in layers:
                faults.append(f"cmake/layers.txt: {name} uses {used}, which has no line")
    looped = circle(layers)
    if looped:
        faults.append(f"cmake/layers.txt: {looped} leads back to itself")
    files = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], capture_output=True, text=True,
                           check=True).stdout.split()
    folders = {path.split("/", 1)[0] for path in files if "/" in path}
    for path in files:
        parts = path.split("/")
        if len(parts) < 2:
            continue
        folder = parts[0]
        if folder not in layers:
            faults.append(f"{path}: the folder {folder} has no line in cmake/layers.txt")
            continue
        allowed = reach(layers, folder)
        if parts[1] == "tests":
            allowed |= reach(layers, "testsupport")
            for extra in layers.get(folder + "/tests", []):
                allowed |= reach(layers, extra)
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                match = INCLUDE.match(line)
                if match and match.group(1) in folders and match.group(1) not in allowed:
                    faults.append(f"{path}:{number}: {folder} may not include {match.group(1)}/")
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"check-layers: {len(files)} sources keep to the {len(layers)} lines of cmake/layers.txt")


main()
