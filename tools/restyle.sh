#!/usr/bin/env bash
# Brings the whole tree into the one house style, once: include guards
# instead of #pragma once, one naming pattern for test suites (UpperCamelCase
# ending in Test), and clang-format over every C++ file of src/, tools/ and
# tests/. Run it on a clean tree after the other branches have landed, build
# and test, and commit the result on its own. That commit also removes this
# script and lets .ci/run check the style from then on with
#   git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
# (bash tools/restyle.sh --check runs the same check before then).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
mapfile -t SOURCES < <(git ls-files 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' \
    'tests/*.cpp' 'tests/*.h')

if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${SOURCES[@]}"
    echo "every C++ file is in the house style"
    exit 0
fi

# The guard of src's headers: BROX_ and the file name in capitals.
guard_headers() {
    local header guard
    while IFS= read -r header; do
        guard="BROX_$(basename "$header" .h | tr '[:lower:]' '[:upper:]')_H"
        sed -i "s|^#pragma once\$|#ifndef $guard\\n#define $guard|" "$header"
        printf '\n#endif\n' >>"$header"
        echo "include guard $guard in $header"
    done < <(git grep -l '^#pragma once$' -- 'tools/*.h' 'tests/*.h' || true)
}

# A suite's name in the pattern: a fixture's "Fixture" ending dropped, the
# first letter raised, and "Test" added where it is missing.
suite_name() {
    local name=${1%Fixture}
    name=${name^}
    [[ $name == *Test ]] || name+=Test
    echo "$name"
}

# TEST suites are names of their own and change in TEST( lines only; a
# fixture is a class, renamed as a whole word wherever the tests use it.
rename_suites() {
    local kind old new
    while read -r kind old; do
        new=$(suite_name "$old")
        [ "$old" != "$new" ] || continue
        if [ "$kind" = TEST ]; then
            git grep -lE "\\bTEST\\($old," -- 'tests/*.cpp' |
                xargs sed -i -E "s/\\bTEST\\($old,/TEST($new,/"
        elif [[ $old == *Test || $old == *Fixture ]]; then
            git grep -lw "$old" -- 'tests/*.cpp' 'tests/*.h' 'tests/CMakeLists.txt' |
                xargs sed -i -E "s/\\b$old\\b/$new/g"
        else
            echo "fixture $old: rename by hand to $new" >&2
            continue
        fi
        echo "suite $old -> $new"
    done < <(git grep -ohE '^TEST(_F)?\([A-Za-z0-9_]+,' -- 'tests/*.cpp' |
        sed -E 's/^(TEST(_F)?)\(([A-Za-z0-9_]+),$/\1 \3/' | sort -u)
}

guard_headers
rename_suites
clang-format -i "${SOURCES[@]}"
echo "restyled ${#SOURCES[@]} files; now build, run ctest, and commit"
