#!/usr/bin/env bash
# Help Manual and Help About through their mnemonics.
# Usage: help_commands.sh <path of the built nobrex>
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
nobrex=$1
E2E_SHOT=$PWD/e2e_help_commands-failure.png

e2e_start_session
# The manual is read from the folder the program runs in.
cp "$E2E_FIXTURES/Manual.txt" "$E2E_WORK/Manual.txt"

e2e_start_nobrex "$nobrex"
e2e_wait_window "Nobrex - Untitled"
main=$E2E_WINDOW
e2e_activate "$main"

e2e_step "Alt+H, M shows the manual: the caption becomes \"Manual\""
e2e_keys alt+h m
e2e_wait_caption "$main" "Manual"

e2e_step "Alt+H, A opens the About box, and Enter closes it"
e2e_keys alt+h a
e2e_wait_window "About Nobrex"
about=$E2E_WINDOW
e2e_activate "$about"
e2e_keys Return
e2e_wait_gone "About Nobrex"

e2e_step "the manual counts as unchanged: closing asks nothing"
e2e_activate "$main"
e2e_keys alt+F4
e2e_expect_exit 0
echo "PASS"
