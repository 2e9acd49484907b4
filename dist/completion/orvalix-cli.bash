# bash completion for orvalix-cli

_orvalix_cli()
{
    local cur prev words cword
    _init_completion || return

    local subcommands="discover info get set mute unmute preset backup restore offline diff push firmware"
    local common="--help --password --port --timeout"

    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$subcommands --help --version" -- "$cur"))
        return
    fi

    case $prev in
        --password|--lock-password|--port|--discovery-port|--timeout|--seconds)
            return ;;
        --target)
            COMPREPLY=($(compgen -W "arm dsp" -- "$cur")); return ;;
        --family)
            COMPREPLY=($(compgen -W "48k 96k" -- "$cur")); return ;;
        --from)
            _filedir json; return ;;
    esac

    local sub=${words[1]}
    if [[ $cur == -* ]]; then
        case $sub in
            discover) COMPREPLY=($(compgen -W "--help --seconds --discovery-port --json" -- "$cur")) ;;
            info) COMPREPLY=($(compgen -W "$common --json" -- "$cur")) ;;
            set) COMPREPLY=($(compgen -W "$common --from --lock-password" -- "$cur")) ;;
            push|restore) COMPREPLY=($(compgen -W "$common --yes --lock-password" -- "$cur")) ;;
            diff) COMPREPLY=($(compgen -W "$common --json" -- "$cur")) ;;
            firmware) COMPREPLY=($(compgen -W "$common --target" -- "$cur")) ;;
            offline) COMPREPLY=($(compgen -W "--help --family" -- "$cur")) ;;
            preset) COMPREPLY=($(compgen -W "$common --json" -- "$cur")) ;;
            *) COMPREPLY=($(compgen -W "$common" -- "$cur")) ;;
        esac
        return
    fi

    case $sub in
        preset)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "list recall save rename delete export export-all import import-all" -- "$cur"))
            elif [[ ${words[2]} == *-all ]]; then
                _filedir -d
            elif [[ ${words[2]} == export || ${words[2]} == import ]] && [[ $cword -ge 5 ]]; then
                _filedir pst1
            fi ;;
        offline)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "to-json from-json" -- "$cur"))
            else
                _filedir
            fi ;;
        mute|unmute)
            [[ $cword -ge 3 ]] && COMPREPLY=($(compgen -W "A B C D 1 2 3 4 5 6 7 8 all" -- "$cur")) ;;
        get|set)
            # Paths: the families first; the full list is in docs/cli.md.
            [[ $cword -ge 3 ]] && COMPREPLY=($(compgen -W "unit. in.A. in.B. in.C. in.D. matrix.out. generator. out.1. out.2. out.3. out.4. out.5. out.6. out.7. out.8." -- "$cur")) && compopt -o nospace ;;
        backup)
            [[ $cword -eq 3 ]] && _filedir -d ;;
        restore)
            [[ $cword -eq 2 ]] && _filedir -d ;;
        diff|push|firmware)
            _filedir ;;
    esac
} &&
    complete -F _orvalix_cli orvalix-cli
