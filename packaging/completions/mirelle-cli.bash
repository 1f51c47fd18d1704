# bash completion for mirelle-cli                                     -*- shell-script -*-

_mirelle_cli()
{
    local cur prev words cword
    _init_completion || return

    local common="-q --quiet -v --verbose -h --help"
    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            -*) ;;
            *) command=${words[i]}; break ;;
        esac
    done

    case $prev in
        --threshold)
            COMPREPLY=($(compgen -W "$(seq 0 5 100)" -- "$cur"))
            return ;;
        --min-size)
            COMPREPLY=($(compgen -W "0 100K 500K 1M 5M" -- "$cur"))
            return ;;
        --format)
            COMPREPLY=($(compgen -W "json csv" -- "$cur"))
            return ;;
        --move-to)
            _filedir -d
            return ;;
        -o | --output | --list | --html | --pdf)
            _filedir
            return ;;
        --request)
            return ;;
    esac

    case $command in
        "")
            COMPREPLY=($(compgen -W "scan regroup apply undo decisions summary help --help --version" -- "$cur")) ;;
        scan)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--threshold --min-size --all-images --rotations --exact-features --format -o --output $common" -- "$cur"))
            else
                _filedir -d
            fi ;;
        regroup)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--threshold --format -o --output $common" -- "$cur"))
            else
                _filedir json
            fi ;;
        apply)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--list --permanent --move-to -n --dry-run --no-undo $common" -- "$cur"))
            else
                _filedir json
            fi ;;
        undo)
            COMPREPLY=($(compgen -W "--list --request $common" -- "$cur")) ;;
        decisions)
            if ((cword == i + 1)); then
                COMPREPLY=($(compgen -W "list forget forget-all" -- "$cur"))
            elif [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "$common" -- "$cur"))
            fi ;;
        summary)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--html --pdf $common" -- "$cur"))
            else
                _filedir json
            fi ;;
    esac
} &&
    complete -F _mirelle_cli mirelle-cli
