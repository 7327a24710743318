#!/usr/bin/env python3
"""The size of the program as shipped (stripped), against what our own code,
data and resources take of it, with the share of each part: our code, the
C++ runtime, the C runtime, the exception tables and the resources.

usage: size-figure.py PROGRAM LINKER_MAP [HELP_FILE]
Reads the GNU ld map of the link; prints the figure's line, then detail lines.
"""
import os
import re
import sys
from collections import defaultdict


def kind_of(path):
    name = path.split('/')[-1]
    if 'libcorvane' in name or name.endswith('.obj') or name.endswith('.res'):
        return 'ours'
    if re.search(r'lib(stdc\+\+|supc\+\+|gcc|gcc_eh)\.a|crtbegin|crtend', path):
        return 'C++ runtime'
    if re.search(r'crt2\.o|libmingw(32|ex)\.a|libmsvcrt\w*\.a|libmoldname\.a', path):
        return 'C runtime'
    return 'system imports'


def shares(map_path):
    """Bytes of each output section by the kind of input they came from."""
    sections = defaultdict(lambda: defaultdict(int))
    current = None
    pending = False
    entry = re.compile(r'^ (\.\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$')
    head = re.compile(r'^ (\.\S+)\s*$')
    cont = re.compile(r'^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$')
    with open(map_path, errors='replace') as lines:
        for line in lines:
            top = re.match(r'^(\.\w+)\s', line)
            if top:
                current, pending = top.group(1), False
                continue
            if current is None:
                continue
            m = entry.match(line)
            if m:
                sections[current][kind_of(m.group(3))] += int(m.group(2), 16)
                pending = False
            elif head.match(line):  # a long input name: its numbers follow on the next line
                pending = True
            elif pending:
                m = cont.match(line)
                if m:
                    sections[current][kind_of(m.group(2))] += int(m.group(1), 16)
                pending = False
    return sections


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    program, map_path = sys.argv[1:3]
    try:
        size = os.path.getsize(program)
        parts = shares(map_path)
    except OSError as error:
        print(f"size-figure: {error}", file=sys.stderr)
        return 2
    code = parts['.text']
    ours = (code['ours'] + parts['.rdata']['ours'] + parts['.data']['ours'] +
            parts['.eh_frame']['ours'] + sum(parts['.rsrc'].values()))
    if not ours or not code:
        print(f"size-figure: {map_path} names none of our code", file=sys.stderr)
        return 2
    kib = lambda n: n / 1024
    print(f"program size (stripped): {kib(size):.0f} KiB, ratio {size / ours:.2f} "
          f"(floor: our own code, data, exception tables and resources in it, {kib(ours):.0f} KiB)")
    print(f"  code: ours {kib(code['ours']):.0f} KiB, C++ runtime {kib(code['C++ runtime']):.0f} KiB, "
          f"C runtime {kib(code['C runtime']):.0f} KiB")
    eh = parts['.eh_frame']
    print(f"  exception tables: {kib(sum(eh.values())):.0f} KiB (ours {kib(eh['ours']):.0f}, "
          f"C++ runtime {kib(eh['C++ runtime']):.0f}, C runtime {kib(eh['C runtime']):.0f})")
    print(f"  resources: {kib(sum(parts['.rsrc'].values())):.0f} KiB; constant data: "
          f"{kib(sum(parts['.rdata'].values())):.0f} KiB")
    if len(sys.argv) == 4 and os.path.exists(sys.argv[3]):
        both = size + os.path.getsize(sys.argv[3])
        print(f"  with its help file: {kib(both):.0f} KiB of a 1.44 MB diskette's 1423 KiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
