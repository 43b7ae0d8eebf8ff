#!/usr/bin/env bash
# The zsh and fish completions of vbprojekt, asked in their own shells, against the built program (first
# on PATH) and a folder with a project, a project group, a text file and a sub-folder.
#   completion_shells_test.sh <bash completion> <zsh completion> <fish completion> <vbprojekt>
set -u
export VBPROJEKT_BASH_COMPLETION=$(realpath "$1")
zsh_completion=$(realpath "$2")
fish_completion=$(realpath "$3")
PATH=$(dirname "$(realpath "$4")"):$PATH
folder=$(mktemp -d)
functions=$(mktemp -d)
trap 'rm -rf "$folder" "$functions"' EXIT
cd "$folder" && mkdir Formulare && touch P.vbp G.VBG notiz.txt
cp "$zsh_completion" "$functions/_vbprojekt"

failures=0
check() { # check <shell> "<expected, sorted>" "<actual>" <words...>
    local shell=$1 expected=$2 actual
    actual=$(sort <<<"$3" | xargs)
    shift 3
    if [[ $actual != "$expected" ]]; then
        echo "$shell completing [$*]: got [$actual], expected [$expected]"
        failures=$((failures + 1))
    fi
}

# zsh: the completion function with compadd and _files standing in for the completion system, which
# prints what would be offered.
zsh_offers() {
    zsh -f -c '
        setopt extendedglob nullglob
        compadd() { [[ $1 == -- ]] && shift; print -l -- "$@"; }
        _files() { if [[ $1 == -/ ]]; then print -l -- */; elif [[ $1 == -g ]]; then
            print -l -- */ ${~2}; else print -l -- *; fi; }
        fpath=('"$functions"' $fpath); autoload -Uz _vbprojekt
        words=("$@"); CURRENT=$#; _vbprojekt' vbprojekt "$@" | sed 's,/$,,'
}
# fish: its own "complete -C", first word of each line (a description may follow a tab).
fish_offers() {
    fish --no-config -c "source '$fish_completion'; complete -C '$*'" | cut -f1 | sed 's,/$,,'
}

for shell in zsh fish; do
    check $shell "check count lines members merge objects types" "$(${shell}_offers vbprojekt '')" vbprojekt ''
    check $shell "json markdown text xml" "$(${shell}_offers vbprojekt merge P.vbp --format '')" merge --format
    check $shell "Formulare G.VBG P.vbp" "$(${shell}_offers vbprojekt count '')" count
    check $shell "Formulare G.VBG P.vbp notiz.txt" "$(${shell}_offers vbprojekt merge P.vbp '')" merge P.vbp
    check $shell "Formulare" "$(${shell}_offers vbprojekt merge --output-dir '')" --output-dir
    encodings=$(${shell}_offers vbprojekt count --encoding '')
    grep -qx CP1250 <<<"$encodings" || { echo "$shell: no CP1250 among the encodings"; failures=$((failures + 1)); }
done
check zsh "--jobs --json --json-lines" "$(zsh_offers vbprojekt count --j | grep -- '^--j')" count --j
check fish "--jobs --json --json-lines" "$(fish_offers vbprojekt count --j)" count --j
exit $((failures > 0))
