#!/usr/bin/env python3
"""Checks the include rules of the logger's layers under korvel32/.

Each layer is a folder; --layer NAME=DEP,DEP... says which layers it may
include besides itself (what they may include, it may include too). The rules
come from the CMake layer declarations, so the build and this check cannot
disagree. Checked for every source of every layer, its tests included:
  - "X/..." includes name the layer itself or one it may use;
  - a bare "name.h" lies beside the file, in its layer, or (tests only) in
    testsupport/;
  - Qt headers only in the layers given with --qt;
  - a kvx... call of the instrument library only in the layer given with
    --library-seam (tests may call the library to set up and observe it).
Prints one line per breach and exits 1 when there is any.
"""
import argparse
import os
import re
import sys

SOURCE_SUFFIXES = (".cpp", ".h")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
LIBRARY_CALL = re.compile(r"\bkvx[A-Z]\w*\s*\(")
QT_HEADER = re.compile(r"^Qt?[A-Z]\w*$|^Qt\w*/")
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/", re.S)
STRING = re.compile(r'"(?:\\.|[^"\\\n])*"')


def parse_rules(pairs):
    rules = {}
    for pair in pairs:
        name, _, deps = pair.partition("=")
        rules.setdefault(name, set()).update(d for d in deps.split(",") if d)
    return rules


def reachable(rules, layer):
    seen, todo = set(), [layer]
    while todo:
        for dep in rules.get(todo.pop(), ()):
            if dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def sources(folder):
    for directory, _, files in os.walk(folder):
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(directory, name)


def check_file(path, layer, allowed, args, root):
    breaches = []
    relative = os.path.relpath(path, root)
    in_tests = "/tests/" in relative or relative.endswith("_test.cpp")
    with open(path, encoding="utf-8") as source:
        text = source.read()
    for bracket, header in INCLUDE.findall(text):
        folder = header.split("/", 1)[0] if "/" in header else None
        if bracket == "<":
            if QT_HEADER.match(header) and layer not in args.qt:
                breaches.append(f"{relative}: Qt header <{header}> below the shell")
            continue
        if header == "kvlink32.h" or (layer in args.qt and header.endswith(".moc")):
            continue
        if folder in args.rules:
            if folder != layer and folder not in allowed:
                breaches.append(f'{relative}: "{header}": {layer}/ may not include {folder}/')
            continue
        if folder is None:
            beside = os.path.join(os.path.dirname(path), header)
            in_layer = os.path.join(args.korvel, layer, header)
            support = os.path.join(args.testsupport, header)
            if os.path.exists(beside) or os.path.exists(in_layer) or (in_tests and os.path.exists(support)):
                continue
        breaches.append(f'{relative}: "{header}" is no header of {layer}/ or of a layer it may use')
    if layer != args.library_seam and not in_tests:
        code = STRING.sub('""', COMMENT.sub("", text))
        for call in sorted(set(LIBRARY_CALL.findall(code))):
            breaches.append(f"{relative}: {call.rstrip('( ')} called outside {args.library_seam}/")
    return breaches


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--korvel", required=True, help="the korvel32/ folder")
    parser.add_argument("--testsupport", required=True, help="the testsupport/ folder")
    parser.add_argument("--layer", action="append", default=[], help="NAME=DEP,DEP...")
    parser.add_argument("--qt", action="append", default=[], help="a layer that may include Qt")
    parser.add_argument("--library-seam", required=True, help="the layer that calls the library")
    args = parser.parse_args()
    args.rules = parse_rules(args.layer)
    root = os.path.dirname(os.path.abspath(args.korvel))

    breaches = []
    for entry in sorted(os.listdir(args.korvel)):
        path = os.path.join(args.korvel, entry)
        if os.path.isdir(path) and entry not in args.rules:
            breaches.append(f"korvel32/{entry}/ is no layer: declare it with its rules")
    for layer in sorted(args.rules):
        folder = os.path.join(args.korvel, layer)
        if not os.path.isdir(folder):
            continue
        allowed = reachable(args.rules, layer)
        for path in sources(folder):
            breaches += check_file(path, layer, allowed, args, root)
    for line in breaches:
        print(line)
    if breaches:
        print(f"{len(breaches)} breaches of the layer rules", file=sys.stderr)
        return 1
    print(f"layer rules kept by {len(args.rules)} layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
