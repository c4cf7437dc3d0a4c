#!/bin/sh
# Formats every C++ source of the project with its .clang-format, or with
# --check lists the files that differ from it and fails.
cd "$(dirname "$0")/.." || exit 2
files=$(find app automation bench desktop fuzz image platform res shell tests views \
        -name '*.cpp' -o -name '*.h' | sort)
if [ "$1" != "--check" ]; then
    echo "$files" | xargs clang-format -i
    exit 0
fi
bad=0
for f in $files; do
    if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "not formatted: $f (run: make format)"
        bad=1
    fi
done
exit $bad
