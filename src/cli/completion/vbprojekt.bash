# Bash completion for vbprojekt. The commands and each command's options are read from the program's own
# help ("Befehle:" and the lines of its options), so they follow the program; operands are project files
# (.vbp, .vbg) and folders, the output of merge any file. An option that the help shows with a value
# ("--encoding NAME") takes the next word, which is then no operand.

# The words of a help listing: the first word of each line under the heading `$1`.
_vbprojekt_listing() {
    sed -n "/^$1:\$/,/^\$/{s/^  \\([^ ]*\\).*/\\1/p}" | tr ',' '\n'
}

# The options of a help listing that take a value: those followed by a word in capitals.
_vbprojekt_valued() {
    sed -n '/^Optionen:$/,/^$/{s/^  \([^ ]*\) [[:upper:]][[:upper:]]*\( .*\)\{0,1\}$/\1/p}' | tr ',' '\n'
}

_vbprojekt() {
    local program=$1 cur=${COMP_WORDS[COMP_CWORD]}
    local command="" operands=0 options_ended="" valued="" i word
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -z $options_ended && $word == -- ]]; then
            options_ended=yes
        elif [[ -z $options_ended && $word == -* ]]; then
            if [[ -n $command && $word != *=* ]]; then
                [[ -n $valued ]] || valued=$("$program" $command --help 2>/dev/null | _vbprojekt_valued)
                if grep -qxF -- "$word" <<<"$valued"; then
                    ((i++)) # its value
                    ((i == COMP_CWORD)) && return # the value itself is being completed: nothing to offer
                fi
            fi
        elif [[ -n $options_ended || $word != -* ]]; then
            if [[ -z $command ]]; then
                command=$word
            else
                ((operands++))
            fi
        fi
    done

    local help
    if [[ -z $options_ended && $cur == -* ]]; then
        help=$("$program" $command --help 2>/dev/null)
        COMPREPLY=($(compgen -W "$(_vbprojekt_listing Optionen <<<"$help") --" -- "$cur"))
        return
    fi
    if [[ -z $command ]]; then
        help=$("$program" --help 2>/dev/null)
        COMPREPLY=($(compgen -W "$(_vbprojekt_listing Befehle <<<"$help")" -- "$cur"))
        return
    fi

    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    if [[ $command == merge && $operands -ge 1 ]]; then
        COMPREPLY=($(compgen -f -- "$cur"))
    elif [[ $operands -eq 0 ]]; then
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.[vV][bB][pPgG]' -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}

complete -F _vbprojekt vbprojekt
