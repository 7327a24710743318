#!/bin/bash
# Fails when a C or C++ source file of the tree differs from the one format
# of .clang-format, and says how to mend it. Files not yet added count too.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -d '' files < <(git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' '*.c')
mapfile -t differ < <(clang-format --style=file --dry-run "${files[@]}" 2>&1 |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)

if [ ${#differ[@]} -gt 0 ]; then
    echo "check-format: ${#differ[@]} source file(s) differ from .clang-format:"
    printf '  %s\n' "${differ[@]}"
    echo "check-format: format them with:  clang-format -i ${differ[*]}"
    exit 1
fi
echo "check-format: all ${#files[@]} source files are formatted"
