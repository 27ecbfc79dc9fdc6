#!/usr/bin/env python3
"""The floors of src/: which folder includes which, read from the #include lines.

Usage: tools/struktur/ebenen.py [checkout]

Prints one line per folder with the folders it includes, then the floors
(a folder stands one floor above the highest folder it includes). Exits 1,
naming the folders, when two or more folders include each other, directly or
around a loop: then no folder of the loop can be read, changed or tested
without the others. ./test.sh runs it, so a new circle fails the build.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]+"', re.MULTILINE)


def graph(src):
    folders = sorted(p.name for p in src.iterdir() if p.is_dir())
    edges = {f: set() for f in folders}
    for f in folders:
        for file in (src / f).rglob('*'):
            if file.suffix not in ('.h', '.cpp'):
                continue
            for target in INCLUDE.findall(file.read_text(encoding='utf-8', errors='replace')):
                if target in edges and target != f:
                    edges[f].add(target)
    return edges


def circles(edges):
    """Strongly connected components with more than one folder (Tarjan)."""
    index, low, stack, on, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in sorted(edges[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1:
                found.append(sorted(comp))

    for v in sorted(edges):
        if v not in index:
            visit(v)
    return found


def floors(edges):
    floor = {}

    def level(v, seen=()):
        if v not in floor:
            floor[v] = 1 + max((level(w, seen + (v,)) for w in edges[v]), default=-1)
        return floor[v]

    for v in edges:
        level(v)
    return floor


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2])
    edges = graph(root / 'src')
    print('Ordner und was sie einbinden:')
    for f in sorted(edges):
        print(f'  {f:<12} -> {", ".join(sorted(edges[f])) or "(nichts)"}')
    loops = circles(edges)
    if loops:
        for c in loops:
            print('Kreis: ' + ' <-> '.join(c) + ' binden einander ein (direkt oder über andere).', file=sys.stderr)
        return 1
    floor = floors(edges)
    print('Stockwerke (jedes bindet nur tiefere ein):')
    for level in sorted(set(floor.values()), reverse=True):
        print(f'  {level}: {", ".join(sorted(f for f in floor if floor[f] == level))}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
