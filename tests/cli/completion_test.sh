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

expect "check components count lines members merge objects types" vbprojekt ""
expect "members merge" vbprojekt m
expect "-- --help --quiet --version -V -h -q" vbprojekt -
expect "-- --code-only --encoding --format --help --jobs --keep-going --line-numbers --output-dir --split" vbprojekt merge --
expect "--jobs --json --json-lines" vbprojekt count --j
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
# The values of --format and --encoding (from iconv's list), folders for --output-dir.
expect "json markdown text xml" vbprojekt merge P.vbp --format ""
expect "CP1250 CP1251 CP1252 CP1253 CP1254 CP1255 CP1256 CP1257 CP1258" vbprojekt count --encoding CP125
expect "Formulare" vbprojekt merge --output-dir ""
expect "" vbprojekt count --jobs ""
expect "Formulare G.VBG P.vbp" vbprojekt count --encoding CP1250 ""
# Every format offered is one merge takes.
for format in $(_vbprojekt_values --format); do
    "$program" merge --format "$format" P.vbp "$folder/aus" >/dev/null 2>&1
    [[ $? -ne 2 ]] || { echo "--format $format refused"; failures=$((failures + 1)); }
done
exit $((failures > 0))
