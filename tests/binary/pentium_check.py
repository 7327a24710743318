#!/usr/bin/env python3
"""Disassembles a 32-bit Windows program and names every instruction in it
that a Pentium (P5, with MMX) cannot run, with the function it sits in.

usage: pentium_check.py OBJDUMP PROGRAM [SYMBOLS]
The program as shipped has no symbols: SYMBOLS, its debug file, names the
functions then (read with the nm beside OBJDUMP).
Exit 0 when there is none, 1 when there are (each listed), 2 on a tool error.
"""
import bisect
import re
import subprocess
import sys

# Instructions the Pentium Pro and later brought, by mnemonic (objdump's AT&T
# spelling, with or without its size suffix).
NEWER = re.compile(
    r"^(cmov\w+|fcmov\w+|f(u)?comip?|sysenter|sysexit|rdpmc|fxsave|fxrstor|"
    r"ldmxcsr|stmxcsr|prefetch\w*|movnt\w*|maskmovq|clflush|[lms]fence|"
    r"rdrand|rdseed|popcnt\w*|lzcnt\w*|movbe\w*|crc32\w*|endbr32|"
    r"pshufw|pavg[bw]|pextrw|pinsrw|pmax(sw|ub)|pmin(sw|ub)|pmovmskb|pmulhuw|psadbw|"
    r"femms|pf\w+|pi2f[dw]|pf2i[dw]|pavgusb|pmulhrw|"
    r"nop[wl])$")
# Any SSE or AVX register in an operand.
VECTOR_REGISTER = re.compile(r"%[xyz]mm\d")
FUNCTION = re.compile(r"^[0-9a-f]+ <(.+)>:$")
# Exception tables the linker places among the code: data, not instructions.
DATA = (".gcc_except_table",)
# Not listed above: tzcnt is "rep bsf", which every processor before BMI1 runs
# as bsf; compilers emit it only where the operand is never zero, the one
# input on which the two differ.
# Functions called only after CPUID said the processor has RDRAND or RDSEED,
# so only on processors long after the Pentium: the C++ library's
# random_device asks first (it is linked because the library's string code
# refers to it; the program makes no random_device).
CPUID_GUARDED = {
    "std::(anonymous namespace)::__x86_rdrand(void*)",
    "std::(anonymous namespace)::__x86_rdseed(void*)",
    "std::(anonymous namespace)::__x86_rdseed_rdrand(void*)",
}
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\t(?:[0-9a-f ]+\t)?(.*)$")


def symbols_of(objdump, path):
    """Sorted (address, name) of every symbol in the file, section names too."""
    nm = re.sub(r"objdump$", "nm", objdump)
    listing = subprocess.run([nm, "-a", "-C", "-n", path], check=True, capture_output=True,
                             text=True).stdout
    found = []
    for line in listing.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3 and re.fullmatch(r"[0-9a-f]+", parts[0]):
            found.append((int(parts[0], 16), parts[2]))
    return found


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    objdump, program = sys.argv[1:3]
    try:
        listing = subprocess.run([objdump, "-d", "-C", "--no-show-raw-insn", program],
                                 check=True, capture_output=True, text=True).stdout
        symbols = symbols_of(objdump, sys.argv[3]) if len(sys.argv) == 4 else []
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"cannot disassemble {program}: {error}", file=sys.stderr)
        return 2
    addresses = [address for address, _ in symbols]

    def named(address, function):
        """The function at the address: from the debug file's symbols when there are."""
        at = bisect.bisect_right(addresses, address) - 1
        return symbols[at][1] if at >= 0 else function

    function = "?"
    count = 0
    found = {}
    for line in listing.splitlines():
        match = FUNCTION.match(line)
        if match:
            function = match.group(1)
            continue
        match = INSTRUCTION.match(line)
        if not match or function.startswith(DATA):
            continue
        if symbols:
            function = named(int(match.group(1), 16), function)
            if function.startswith(DATA):
                continue
        count += 1
        text = match.group(2).strip()
        words = text.split()
        # Prefixes (rep, lock, data16, cs ...) stand before the mnemonic.
        while words and words[0] in ("rep", "repz", "repnz", "repe", "repne", "lock", "data16", "addr16",
                                     "cs", "ds", "es", "fs", "gs", "ss", "notrack", "bnd"):
            words.pop(0)
        mnemonic = words[0] if words else ""
        if function in CPUID_GUARDED:
            continue
        if NEWER.match(mnemonic) or VECTOR_REGISTER.search(text):
            found.setdefault(function, []).append(f"{match.group(1)}: {text}")

    if count < 1000:
        print(f"only {count} instructions in {program}: not a program this check understands",
              file=sys.stderr)
        return 2
    if not found:
        print(f"{program}: {count} instructions, all of them run on a Pentium")
        return 0
    total = sum(len(v) for v in found.values())
    print(f"{program}: {total} instructions in {len(found)} functions need a processor newer "
          f"than the Pentium:")
    for function, lines in sorted(found.items()):
        print(f"  {function}: {len(lines)}, first {lines[0]}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
