# bash completion for sorvane-cli                                   -*- shell-script -*-
# Copyright 2026 The Sorvane developers; MIT licence.

_sorvane_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()

    case $prev in
        --month)
            mapfile -t COMPREPLY < <(compgen -W '1 2 3 4 5 6 7 8 9 10 11 12' -- "$cur")
            return
            ;;
        --data)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return
            ;;
        --ics)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        --feed)
            mapfile -t COMPREPLY < <(compgen -W 'rokuyo senjitsu senjitsu-periods sekki holidays moon zassetsu shio' -- "$cur")
            return
            ;;
        --life)
            mapfile -t COMPREPLY < <(compgen -W 'お七夜 お宮参り お食い初め 初節句 七五三 十三参り 成人 帯祝い 厄年 法要 旧暦誕生日 旧暦命日 年齢' -- "$cur")
            return
            ;;
        --sex)
            mapfile -t COMPREPLY < <(compgen -W '男 女' -- "$cur")
            return
            ;;
        --find | --from | --to | --wareki | --date | --year | --years | --today | --eclipses | --help | -h | --version)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--month --json --precise --zassetsu --holidays
            --days --phases --notes --sun --place --lat --lon --ics --data --find --feed --published-feeds --from --to --wareki --julian
            --life --date --year --years --sex --today --eclipses --help --version' -- "$cur")
    fi
}
complete -F _sorvane_cli sorvane-cli
