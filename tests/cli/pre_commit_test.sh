#!/usr/bin/env bash
# The pre-commit hook of .pre-commit-hooks.yaml in a git repository of a VB project, run by Debian's
# pre-commit as a user would install it: a commit that deletes a member file, alone or together with an
# edit of the project file, is stopped with the finding shown; one that also removes the member's line
# from the project file goes through.
#   pre_commit_test.sh <.pre-commit-hooks.yaml> <examples folder> <vbprojekt>
set -u
hooks=$(realpath "$1")
examples=$(realpath "$2")
PATH=$(dirname "$(realpath "$3")"):$PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PRE_COMMIT_HOME=$work/cache GIT_CONFIG_GLOBAL=$work/gitconfig GIT_CONFIG_NOSYSTEM=1
git config --global user.name Test && git config --global user.email test@example.org
git config --global init.defaultBranch main

# The hooks' repository, as pre-commit fetches it.
mkdir "$work/hooks" && cp "$hooks" "$work/hooks/"
git -C "$work/hooks" init -q && git -C "$work/hooks" add . && git -C "$work/hooks" commit -qm hooks
rev=$(git -C "$work/hooks" rev-parse HEAD)

project=$work/projekt
mkdir "$project" && cp -r "$examples/Beispiel" "$project/"
cd "$project" && git init -q
printf 'repos:\n- repo: %s\n  rev: %s\n  hooks:\n  - id: vbprojekt-check\n' "$work/hooks" "$rev" >.pre-commit-config.yaml
pre-commit install >/dev/null || { echo "pre-commit install failed"; exit 1; }
git add . && git commit -qm Projekt >"$work/log" 2>&1 || { echo "the first commit was stopped:"; cat "$work/log"; exit 1; }

failures=0
# stopped <what>: the commit must fail and show the missing member.
stopped() {
    if git commit -qm "$1" >"$work/log" 2>&1; then
        echo "$1: the commit went through"
        failures=$((failures + 1))
    elif ! grep -aq "Fehlt.*Kunde.cls" "$work/log"; then
        echo "$1: stopped without the finding:"
        cat "$work/log"
        failures=$((failures + 1))
    fi
    git reset -q --hard
}

git rm -q Beispiel/Kunde.cls
stopped "a member deleted"

git rm -q Beispiel/Kunde.cls
printf 'Title="Beispiel"\r\n' >>Beispiel/Beispiel.vbp && git add Beispiel/Beispiel.vbp
stopped "a member deleted and the project edited"

git rm -q Beispiel/Kunde.cls
grep -av 'Kunde\.cls' Beispiel/Beispiel.vbp >"$work/vbp" && cp "$work/vbp" Beispiel/Beispiel.vbp
git add Beispiel/Beispiel.vbp
git commit -qm "Kunde entfernt" >"$work/log" 2>&1 || { echo "a clean removal was stopped:"; cat "$work/log"; failures=$((failures + 1)); }
exit $((failures > 0))
