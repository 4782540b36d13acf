# bash completion for tabulo-cli. The subcommands and their options are read
# from the program's own --help, so new subcommands complete without changes
# here; an option whose value is written "a|b|c" completes its values.

_tabulo_cli() {
    local cur prev words cword
    _init_completion 2>/dev/null || {
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD-1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    }
    local program=${words[0]}
    local subcommand="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --args-encoding|--output-encoding) ((i++)) ;;
            -*) ;;
            *) subcommand=${words[i]}; break ;;
        esac
    done

    local help
    if [[ -z $subcommand ]]; then
        help=$("$program" --help 2>/dev/null)
    else
        help=$("$program" "$subcommand" --help 2>/dev/null)
    fi

    # The values of the option before the cursor, when it lists them.
    if [[ $prev == --* ]]; then
        local values
        values=$(sed -n "s/^  \(-[a-zA-Z], \)\?${prev} \([a-z0-9|-]*|[a-z0-9|-]*\)\$/\2/p" <<<"$help")
        if [[ -n $values ]]; then
            COMPREPLY=($(compgen -W "${values//|/ }" -- "$cur"))
            return
        fi
    fi

    if [[ $cur == -* ]]; then
        local options
        options=$(sed -n 's/^  \(-[a-zA-Z], \)\?\(--[a-z-]*\).*/\2/p' <<<"$help")
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ -z $subcommand ]]; then
        local subcommands
        subcommands=$(sed -n '/^subcommands/,/^$/s/^  \([a-z][a-z0-9-]*\) .*/\1/p' <<<"$help")
        COMPREPLY=($(compgen -W "$subcommands" -- "$cur"))
    else
        # The first operand of a subcommand whose usage lists its values.
        local usage first
        usage=$(sed -n '1s/^usage: tabulo-cli [a-z0-9-]* \(\[OPTIONS\] \)\?//p' <<<"$help")
        first=${usage%% *}
        local operands=0
        for ((i = i + 1; i < cword; i++)); do
            [[ ${words[i]} != -* ]] && ((operands++))
        done
        if ((operands == 0)) && [[ $first == *"|"* ]]; then
            COMPREPLY=($(compgen -W "${first//|/ }" -- "$cur"))
        else
            COMPREPLY=($(compgen -f -- "$cur"))
        fi
    fi
}
complete -o filenames -F _tabulo_cli tabulo-cli
