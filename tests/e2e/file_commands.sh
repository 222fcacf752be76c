#!/usr/bin/env bash
# A FAQ typed and saved through Save As, a file opened through the Open dialog, and a
# changed document closed with Alt+F4 and its changes discarded.
# Usage: file_commands.sh <path of the built nobrex>
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
nobrex=$1
E2E_SHOT=$PWD/e2e_file_commands-failure.png

e2e_start_session
cp "$E2E_FIXTURES/faq.txt" "$E2E_WORK/faq.txt"
separator=$(printf -- '-%.0s' {1..80})

e2e_step "start: the window is captioned \"Nobrex - Untitled\""
e2e_start_nobrex "$nobrex"
e2e_wait_window "Nobrex - Untitled"
main=$E2E_WINDOW
e2e_activate "$main"

e2e_step "type a FAQ and save it as a name without an extension"
# The buttons come first in the tab order, then the list, then the text.
e2e_keys Tab Tab Tab Tab
e2e_type_lines "Library questions" "$separator" "How long may I keep a book?" "---" "Three weeks."
e2e_keys alt+f a
e2e_file_dialog "Save As" "$E2E_WORK/typed"
e2e_wait_caption "$main" "Nobrex - $E2E_WORK/typed.txt"
e2e_expect_file "$E2E_WORK/typed.txt" "$E2E_FIXTURES/typed.txt"

e2e_step "open a file: the caption names its full path"
e2e_keys alt+f o
e2e_file_dialog "Open" "$E2E_WORK/faq.txt"
e2e_wait_caption "$main" "Nobrex - $E2E_WORK/faq.txt"

e2e_step "change the text, close with Alt+F4 and answer No: nothing is written"
e2e_activate "$main"
e2e_type "Changed. "
before=$(e2e_snapshot "$E2E_WORK")
e2e_keys alt+F4
e2e_wait_window "Nobrex"
prompt=$E2E_WINDOW
e2e_activate "$prompt"
e2e_keys n
e2e_expect_exit 0
[ "$(e2e_snapshot "$E2E_WORK")" = "$before" ] || e2e_fail "files changed after answering No"
e2e_expect_file "$E2E_WORK/faq.txt" "$E2E_FIXTURES/faq.txt"
echo "PASS"
