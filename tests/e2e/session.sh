# shellcheck shell=bash
# Sourced by the end-to-end scripts: a private X display with a window manager, the real
# program started in a fresh home and working folder, and bounded waits for what a person
# would look at on the screen. Keys go to whichever window has the keyboard, as typing
# does; xdotool's --window delivery is synthetic and Qt's dialogs often drop it.

set -euo pipefail

# Seconds any one wait may take. Generous, because a sanitizer build starts slowly.
E2E_WAIT=${E2E_WAIT:-20}
E2E_FIXTURES=$(cd "$(dirname "${BASH_SOURCE[0]}")/fixtures" && pwd)

e2e_step() { echo "-- $*"; }

e2e_fail()
{
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        if [ -n "${E2E_SHOT:-}" ] && import -window root "$E2E_SHOT" 2>/dev/null; then
            echo "screen at the failure: $E2E_SHOT" >&2
        fi
        echo "windows on the screen:" >&2
        local id
        for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            echo "  $id \"$(xdotool getwindowname "$id" 2>/dev/null)\"" >&2
        done
        echo "  active: $(xdotool getactivewindow 2>/dev/null)" >&2
    fi
    if [ -n "${NOBREX_PID:-}" ]; then
        if kill -0 "$NOBREX_PID" 2>/dev/null; then
            echo "the program is still running" >&2
        else
            local status=0
            wait "$NOBREX_PID" || status=$?
            NOBREX_PID=
            echo "the program has ended, exit code $status" >&2
        fi
    fi
    if [ -s "${E2E_TMP:-/nonexistent}/nobrex.log" ]; then
        echo "program output:" >&2
        sed 's/^/  /' "$E2E_TMP/nobrex.log" >&2
    fi
    exit 1
}

e2e_require_tools()
{
    local tool
    for tool in Xvfb openbox xdotool cmp timeout; do
        command -v "$tool" >/dev/null || e2e_fail "$tool is missing: run scripts/install-deps"
    done
}

e2e_cleanup()
{
    set +e
    # Only a failed test leaves the program running; a passing one has closed it itself.
    local pid
    for pid in "${NOBREX_PID:-}" "${E2E_WM_PID:-}" "${E2E_X_PID:-}"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
        fi
    done
    [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
    return 0
}

# Starts Xvfb on a free display and openbox on it, in a fresh temporary home.
# Sets E2E_TMP, HOME and E2E_WORK (an empty working folder), and DISPLAY.
e2e_start_session()
{
    local width=${1:-1024} height=${2:-768}
    e2e_require_tools
    # A caller may name a folder of its own, which is removed all the same.
    E2E_TMP=${E2E_TMP:-$(mktemp -d "${TMPDIR:-/tmp}/nobrex-e2e.XXXXXX")}
    trap e2e_cleanup EXIT
    export HOME=$E2E_TMP/home XDG_RUNTIME_DIR=$E2E_TMP/runtime
    E2E_WORK=$E2E_TMP/work
    mkdir -p "$HOME" "$E2E_WORK"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # Nothing of the desktop the tests run from may reach the program.
    unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS XDG_CONFIG_HOME XDG_DATA_HOME \
        XDG_CACHE_HOME QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
    export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

    e2e_start_x "${width}x${height}x24"
    # openbox claims the display before it has grabbed its keys (Alt+F4 among them); it
    # runs the --startup command only once it is fully running.
    openbox --sm-disable --startup "touch $E2E_TMP/wm-ready" >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    local deadline=$((SECONDS + E2E_WAIT))
    until [ -e "$E2E_TMP/wm-ready" ]; do
        [ "$SECONDS" -lt "$deadline" ] \
            || e2e_fail "openbox did not start on $DISPLAY: $(cat "$E2E_TMP/openbox.log")"
        sleep 0.1
    done
    # The first key sent to a new server switches its keyboard to xdotool's device, and
    # openbox then grabs its keys afresh: a binding pressed during that regrab reaches the
    # program instead. Spend that first key where it does no harm.
    xdotool key shift
}

# Starts Xvfb on a free display and sets DISPLAY. Low numbers and the :99 of xvfb-run are
# what other scripts on a machine pick, often without checking, and their keys and windows
# would land in ours: try random numbers well away from them.
e2e_start_x()
{
    local screen=$1 number
    for _ in {1..10}; do
        number=$((200 + RANDOM % 700))
        [ -e "/tmp/.X$number-lock" ] && continue
        rm -f "$E2E_TMP/display"
        # -displayfd reports the number once the server accepts connections.
        Xvfb ":$number" -displayfd 3 -screen 0 "$screen" -nolisten tcp \
            3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
        E2E_X_PID=$!
        e2e_poll "Xvfb to start" e2e_x_settled
        if [ -s "$E2E_TMP/display" ]; then
            export DISPLAY=:$number
            return 0
        fi
        wait "$E2E_X_PID" 2>/dev/null || true
        E2E_X_PID=
    done
    e2e_fail "no free X display: $(cat "$E2E_TMP/xvfb.log")"
}

# Xvfb has either reported its display or given up on it.
e2e_x_settled() { [ -s "$E2E_TMP/display" ] || ! kill -0 "$E2E_X_PID" 2>/dev/null; }

# Runs a command every tenth of a second until it succeeds, at most E2E_WAIT seconds.
e2e_poll()
{
    local what=$1
    shift
    local deadline=$((SECONDS + E2E_WAIT))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || e2e_fail "timed out waiting for $what"
        sleep 0.1
    done
}

# Starts the program in E2E_WORK; its output goes to the log that a failure prints.
e2e_start_nobrex()
{
    local program=$1
    (cd "$E2E_WORK" && exec "$program") >"$E2E_TMP/nobrex.log" 2>&1 &
    NOBREX_PID=$!
}

# Waits until the program has ended by itself and checks its exit code.
e2e_expect_exit()
{
    local expected=${1:-0} status=0
    e2e_poll "the program to end" e2e_nobrex_ended
    wait "$NOBREX_PID" || status=$?
    NOBREX_PID=
    [ "$status" -eq "$expected" ] || e2e_fail "the program ended with exit code $status, not $expected"
}

e2e_nobrex_ended() { ! kill -0 "$NOBREX_PID" 2>/dev/null; }

# Prints the id of the visible window whose caption is exactly the given text.
e2e_find_window()
{
    local caption=$1 pattern id
    # xdotool matches case-insensitively by regular expression; the exact comparison
    # below tells "Nobrex" from "nobrex".
    pattern=$(printf '%s' "$caption" | sed 's/[][\\.^$*+?(){}|]/\\&/g')
    for id in $(xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null); do
        if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$caption" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

e2e_window_shown() { e2e_find_window "$1" >/dev/null; }
e2e_window_gone() { ! e2e_find_window "$1" >/dev/null; }

# Waits for a window with this caption; E2E_WINDOW is then its id. (Not printed: a failure
# inside a command substitution would end only the subshell, without its diagnosis.)
e2e_wait_window()
{
    e2e_poll "a window captioned \"$1\"" e2e_window_shown "$1"
    E2E_WINDOW=$(e2e_find_window "$1")
}

e2e_wait_gone()
{
    e2e_poll "the window \"$1\" to close" e2e_window_gone "$1"
}

e2e_caption_is() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; }

e2e_wait_caption()
{
    local window=$1 caption=$2
    local deadline=$((SECONDS + E2E_WAIT))
    until e2e_caption_is "$window" "$caption"; do
        [ "$SECONDS" -lt "$deadline" ] || e2e_fail \
            "the caption reads \"$(xdotool getwindowname "$window" 2>/dev/null)\", not \"$caption\""
        sleep 0.1
    done
}

# Gives the keyboard to a window through the window manager, as a click on it would.
e2e_activate()
{
    timeout "$E2E_WAIT" xdotool windowactivate --sync "$1" >/dev/null \
        || e2e_fail "window $1 ($(xdotool getwindowname "$1" 2>/dev/null)) did not take the keyboard"
}

# Key presses and typing go to the window that has the keyboard. A short pause between
# keys lets a menu or a list follow, as it would for a fast typist.
e2e_keys() { xdotool key --delay 60 "$@"; }
e2e_type() { xdotool type --delay 20 -- "$1"; }

# Types lines into the focused text area, Return between them.
e2e_type_lines()
{
    local first=1 line
    for line in "$@"; do
        [ "$first" -eq 1 ] || e2e_keys Return
        first=0
        e2e_type "$line"
    done
}

# Runs one of the file dialogs to its end: waits for it, types the path over the proposed
# name and confirms with Enter.
e2e_file_dialog()
{
    local caption=$1 path=$2
    e2e_wait_window "$caption"
    e2e_activate "$E2E_WINDOW"
    e2e_keys ctrl+a
    e2e_type "$path"
    e2e_keys Return
    e2e_wait_gone "$caption"
}

# Waits until a file holds exactly the expected bytes; on a timeout shows both.
e2e_expect_file()
{
    local file=$1 expected=$2
    local deadline=$((SECONDS + E2E_WAIT))
    until cmp -s "$file" "$expected"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "expected ($expected):" >&2
            od -c "$expected" | sed 's/^/  /' >&2
            echo "found ($file):" >&2
            if [ -e "$file" ]; then od -c "$file" | sed 's/^/  /' >&2; else echo "  no such file" >&2; fi
            e2e_fail "$file does not hold the expected bytes"
        fi
        sleep 0.1
    done
}

# A listing of every file under a folder with its checksum, to show that nothing changed.
e2e_snapshot() { (cd "$1" && find . -type f -exec sha256sum {} + | sort); }
