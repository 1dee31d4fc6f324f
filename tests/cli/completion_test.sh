#!/usr/bin/env bash
# The bash completion the build made from the tool: it loads, it completes every command the
# tool's --help lists (none of the hidden ones), each command's options and file names, and
# it is what the tool prints now.
# Usage: completion_test.sh SCRIPT QUILLON_CLI
set -euo pipefail
export LC_ALL=C
script=$1
tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -s "$script" ] || fail "$script was not made"
diff <(QT_QPA_PLATFORM=offscreen "$tool" completion bash) "$script" > /dev/null ||
    fail "$script is not what the tool prints now"
# shellcheck source=/dev/null
source "$script" || fail "$script does not load"
[[ $(complete -p quillon-cli) == *"-F _quillon_cli"* ]] || fail "no completion for quillon-cli"

# COMPREPLY for the command line "$@", the last word being completed, sorted on one line.
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _quillon_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {
    local want=$1
    shift
    local got
    got=$(complete_words "$@")
    [ "$got" = "$want" ] || fail "quillon-cli ${*:2}: expected \"$want\", got \"$got\""
}

expect "rename render render-all" quillon-cli ren
expect "paint palette" quillon-cli --lang English pa
expect "--set" quillon-cli block demo.gba 0.0 --s
expect "--view" quillon-cli render demo.gba 0.0 --v
expect "--output" quillon-cli render demo.gba 0.0 --o
expect "--fill --footer-at" quillon-cli insert demo.gba town.map --f

# Every command of the help, whatever was added since the script was written; none hidden.
listed=$(QT_QPA_PLATFORM=offscreen "$tool" --help |
             sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && NF { print $1 }' | sort | tr '\n' ' ')
[ -n "$listed" ] || fail "the tool's --help lists no commands"
offered=$(complete_words quillon-cli "" | tr ' ' '\n' | grep -v '^-' | sort | tr '\n' ' ')
[ "$offered" = "$listed" ] || fail "commands offered: \"$offered\", listed: \"$listed\""

# The ROM and the value of an option that takes a file complete to file names.
touch "$work/demo.gba" "$work/demo-2.gba" "$work/other.txt"
cd "$work"
expect "demo-2.gba demo.gba" quillon-cli paint dem
expect "other.txt" quillon-cli render demo.gba 0.0 -o oth
echo "completion of quillon-cli: every command, its options and file names"
