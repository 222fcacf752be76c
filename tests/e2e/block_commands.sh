#!/usr/bin/env bash
# Removing a block chosen with the keyboard, and editing a block's answer in the editor
# window, each saved and compared byte for byte.
# Usage: block_commands.sh <path of the built nobrex>
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
nobrex=$1
E2E_SHOT=$PWD/e2e_block_commands-failure.png

e2e_start_session

# Starts the program on a fresh copy of the fixture, with the keyboard on the question
# list and no entry selected yet. Sets main.
open_faq_at_list()
{
    cp "$E2E_FIXTURES/faq.txt" "$E2E_WORK/faq.txt"
    e2e_start_nobrex "$nobrex"
    e2e_wait_window "Nobrex - Untitled"
    main=$E2E_WINDOW
    e2e_activate "$main"
    e2e_keys alt+f o
    e2e_file_dialog "Open" "$E2E_WORK/faq.txt"
    e2e_wait_caption "$main" "Nobrex - $E2E_WORK/faq.txt"
    e2e_activate "$main"
    # Add has the keyboard from the start; Remove and Edit come before the list.
    e2e_keys Tab Tab Tab
}

save_and_quit()
{
    e2e_activate "$main"
    e2e_keys alt+f s
    e2e_expect_file "$E2E_WORK/faq.txt" "$1"
    # Saved, so closing asks nothing.
    e2e_keys alt+F4
    e2e_expect_exit 0
}

e2e_step "remove the second block: select it with the arrow keys, Alt+R, save"
open_faq_at_list
e2e_keys Down Down alt+r
save_and_quit "$E2E_FIXTURES/removed.txt"

e2e_step "edit the first block: Alt+E, a new answer, Alt+O, save"
open_faq_at_list
e2e_keys Down alt+e
e2e_wait_window "FAQ Editor"
editor=$E2E_WINDOW
e2e_activate "$editor"
# The question has the keyboard; Tab moves to the answer.
e2e_keys Tab ctrl+a
e2e_type_lines "From eight until dusk." "Closed on the first of January."
e2e_keys alt+o
e2e_wait_gone "FAQ Editor"
save_and_quit "$E2E_FIXTURES/edited.txt"
echo "PASS"
