#!/bin/bash
# Runs the examples of one README section in a copy of examples/ and compares what they print with what
# the README shows. A block's lines beginning with "$ " are commands (run in order, in one shell, from
# the copy of examples/); the lines up to the next command are the expected output, standard error
# included. A line "..." stands for any number of lines.
# Usage: readme_examples_test.sh README SECTION-HEADING EXAMPLES-FOLDER PROGRAM-FOLDER
set -u
readme=$1 heading=$2 examples=$3 programs=$(cd "$4" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$examples" "$work/examples"
export PATH="$programs:$PATH"

# The fenced blocks of the section, each line prefixed with its block number.
awk -v heading="## $heading" '
    $0 == heading { inside = 1; next }
    inside && !fenced && /^## / { exit }
    inside && /^```/ { fenced = !fenced; if (fenced) block++; next }
    inside && fenced { print block "\t" $0 }
' "$readme" >"$work/blocks"
[[ -s $work/blocks ]] || { echo "no examples under \"## $heading\""; exit 1; }

failures=0
# Compares the output of a command with the expected lines ("..." matches any lines).
compare() {
    local command=$1 expected=$2 actual=$3
    if ! awk -v expfile="$expected" '
        BEGIN { n = 0; while ((getline line < expfile) > 0) want[++n] = line }
        { got[++m] = $0 }
        function match_from(i, j) {
            if (i > n) return j > m
            if (want[i] == "...") { for (k = j; k <= m + 1; k++) if (match_from(i + 1, k)) return 1; return 0 }
            return j <= m && want[i] == got[j] && match_from(i + 1, j + 1)
        }
        END { exit match_from(1, 1) ? 0 : 1 }
    ' "$actual"; then
        echo "example [$command] printed:"; cat "$actual"; echo "README shows:"; cat "$expected"
        failures=$((failures + 1))
    fi
}

cd "$work/examples"
for block in $(cut -f1 "$work/blocks" | sort -un); do
    command=""
    while IFS= read -r line; do
        if [[ $line == '$ '* ]]; then
            [[ -n $command ]] && compare "$command" "$work/expected" "$work/actual"
            command=${line#\$ }
            : >"$work/expected"
            eval "$command" >"$work/actual" 2>&1
        else
            printf '%s\n' "$line" >>"$work/expected"
        fi
    done < <(grep "^$block	" "$work/blocks" | cut -f2-)
    [[ -n $command ]] && compare "$command" "$work/expected" "$work/actual"
done
exit $((failures > 0))
