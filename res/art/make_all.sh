#!/bin/sh
# Regenerates every piece of artwork into res/gen. The generated files are
# committed, so a build needs neither Python nor this script.
set -e
cd "$(dirname "$0")"
for script in make_*.py; do
    python3 "$script"
done
