#!/usr/bin/env bash
# The bash completion of vbprojekt, asked as bash asks it, against the built program and a folder with a
# project, a project group, a text file and a sub-folder.
#   completion_test.sh <completion script> <vbprojekt>
set -u
source "$1"
program=$(realpath "$2")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" && mkdir Formulare && touch P.vbp G.VBG notiz.txt

failures=0
# expect "<expected completions, sorted>" <words...>: the last word is the one being completed.
expect() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _vbprojekt "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    local actual
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [[ $actual != "$expected" ]]; then
        echo "completing [$*]: got [$actual], expected [$expected]"
        failures=$((failures + 1))
    fi
}

expect "check count declares lines members merge objects procedures types" vbprojekt ""
expect "members merge" vbprojekt m
expect "-- --help --version -h" vbprojekt -
expect "-- --code-only --encoding --format --help --jobs --keep-going --line-numbers --output-dir --split" vbprojekt merge --
expect "--jobs --json" vbprojekt count --j
# The project: project files and folders only, also after an option and after "--".
expect "Formulare G.VBG P.vbp" vbprojekt members ""
expect "Formulare G.VBG P.vbp" vbprojekt count --json ""
expect "P.vbp" vbprojekt count -- P
# After the project: any file, and no option once "--" ended them.
expect "Formulare G.VBG P.vbp notiz.txt" vbprojekt merge P.vbp ""
expect "" vbprojekt merge -- P.vbp --c
# An option's value is no operand, and nothing is offered for the value itself.
expect "Formulare G.VBG P.vbp" vbprojekt merge --format json ""
expect "Formulare G.VBG P.vbp notiz.txt" vbprojekt merge --split 2k P.vbp ""
expect "Formulare G.VBG P.vbp notiz.txt" vbprojekt merge --format=xml P.vbp ""
expect "" vbprojekt merge P.vbp --encoding ""
expect "Formulare G.VBG P.vbp" vbprojekt count --encoding CP1250 ""
exit $((failures > 0))
