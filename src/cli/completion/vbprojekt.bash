# Completion for vbprojekt. This file is the one description of what the completion offers, for bash and,
# through _vbprojekt_candidates, for zsh and fish too. The commands and each command's options are read
# from the program's own help ("Befehle:" and the lines of its options), so they follow the program;
# operands are project files (.vbp, .vbg) and folders, the output of merge any file. An option that the
# help shows with a value ("--encoding NAME") takes the next word, which is then no operand; the values
# of --format and --encoding (iconv's list of code pages) are offered, and folders for --output-dir.

# The words of a help listing: the first word of each line under the heading `$1`.
_vbprojekt_listing() {
    sed -n "/^$1:\$/,/^\$/{s/^  \\([^ ]*\\).*/\\1/p}" | tr ',' '\n'
}

# The options of a help listing that take a value: those followed by a word in capitals.
_vbprojekt_valued() {
    sed -n '/^Optionen:$/,/^$/{s/^  \([^ ]*\) [[:upper:]][[:upper:]]*\( .*\)\{0,1\}$/\1/p}' | tr ',' '\n'
}

# The values an option takes, one a line.
_vbprojekt_values() {
    case $1 in
    --format) printf '%s\n' text markdown xml json ;;
    --encoding) echo auto && iconv -l 2>/dev/null | tr ', ' '\n\n' | sed -n 's,//$,,p' ;;
    esac
}

# What to offer for the last of the words after the program's name (the program is $1): a first line
# naming the kind (words, projects, files, folders or nothing) and, for words, the candidates, one a line,
# all of them, for the shell to filter by what is typed.
_vbprojekt_candidates() {
    local program=$1
    shift
    local words=("$@")
    local last=$((${#words[@]} - 1)) cur=${words[-1]-}
    local command="" operands=0 options_ended="" valued="" i word
    for ((i = 0; i < last; i++)); do
        word=${words[i]}
        if [[ -z $options_ended && $word == -- ]]; then
            options_ended=yes
        elif [[ -z $options_ended && $word == -* ]]; then
            if [[ -n $command && $word != *=* ]]; then
                [[ -n $valued ]] || valued=$("$program" $command --help 2>/dev/null | _vbprojekt_valued)
                if grep -qxF -- "$word" <<<"$valued"; then
                    ((i++)) # its value
                    if ((i == last)); then # the value itself is being completed
                        if [[ $word == --output-dir ]]; then
                            echo folders
                        else
                            local values
                            values=$(_vbprojekt_values "$word")
                            if [[ -n $values ]]; then
                                echo words
                                echo "$values"
                            else
                                echo nothing
                            fi
                        fi
                        return
                    fi
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

    if [[ -z $options_ended && $cur == -* ]]; then
        echo words
        "$program" $command --help 2>/dev/null | _vbprojekt_listing Optionen
        echo --
    elif [[ -z $command ]]; then
        echo words
        "$program" --help 2>/dev/null | _vbprojekt_listing Befehle
    elif [[ $operands -eq 0 ]]; then
        echo projects
    else
        echo files
    fi
}

_vbprojekt() {
    local program=$1 cur=${COMP_WORDS[COMP_CWORD]}
    local candidates kind
    candidates=$(_vbprojekt_candidates "$program" "${COMP_WORDS[@]:1:COMP_CWORD}")
    kind=${candidates%%$'\n'*}
    local IFS=$'\n'
    case $kind in
    words) COMPREPLY=($(compgen -W "$(tail -n +2 <<<"$candidates")" -- "$cur")) ;;
    projects)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.[vV][bB][pPgG]' -- "$cur"))
        ;;
    files)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        ;;
    folders)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        ;;
    *) COMPREPLY=() ;;
    esac
}

complete -F _vbprojekt vbprojekt
