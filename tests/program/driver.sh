# driver.sh: drives the game a whole-program test started, one step at a
# time, the way a player would: keys, the pointer and clicks. Each step is
# confirmed before the next is taken: from the game's log where the game logs
# what the step does, otherwise from its window's picture. A key or button is
# held down until its step is confirmed, so no frame can miss it, and sent
# again when the window never got it. A step that is not confirmed in time
# ends the drive: the reason goes to driver.fail, which the test reports, and
# the game is stopped. Every wait is bounded.
#
# Sourced by ProgramRun in the run's folder: $GAME is the game's pid and
# game.log its log.

# Seconds that one wait, or one try of a step, may take, and the tries.
kWaitSeconds=30
kTrySeconds=5
kTries=3

# Ends the drive with the reason.
fail() {
    echo "$*" >> driver.fail
    kill "$GAME" 2>/dev/null
    exit 1
}

running() { kill -0 "$GAME" 2>/dev/null; }

# How many lines of the game's log hold one of the texts.
seen() {
    local args=() text n
    for text in "$@"; do args+=(-e "$text"); done
    n=$(grep -c -F "${args[@]}" game.log 2>/dev/null)
    echo "${n:-0}"
}

# Waits until the log holds the text.
await() {
    local end=$((SECONDS + kWaitSeconds))
    while [ $SECONDS -lt $end ]; do
        [ "$(seen "$1")" -gt 0 ] && return 0
        running || break
        sleep 0.1
    done
    [ "$(seen "$1")" -gt 0 ] || fail "the log never showed \"$1\""
}

# Waits until the log holds the text, then finds the game's window as $WIN.
await_window() {
    local end=$((SECONDS + kWaitSeconds))
    await "$1"
    while [ $SECONDS -lt $end ]; do
        WIN=$(timeout 2 xdotool search --name '^Palewick$' 2>/dev/null | head -n 1)
        [ -n "$WIN" ] && return 0
        running || break
        sleep 0.1
    done
    fail "no window named Palewick"
}

# A digest of the window's picture as it is on the screen now.
picture() { timeout 5 import -window "$WIN" rgb:- 2>/dev/null | md5sum; }

# The window's picture once three looks in a row agree: a frame still on its
# way is not taken for a step's change.
settled() {
    local a b same=0 end=$((SECONDS + kWaitSeconds))
    a=$(picture)
    while [ $SECONDS -lt $end ]; do
        b=$(picture)
        if [ "$a" = "$b" ]; then
            same=$((same + 1))
            [ $same -ge 2 ] && break
        else
            same=0
        fi
        a=$b
    done
    echo "$a"
}

# What hold_until waits for: "logged COUNT TEXT...", the log holds one of
# the texts more than COUNT times; "changed DIGEST", the picture differs.
logged() {
    local count=$1
    shift
    [ "$(seen "$@")" -gt "$count" ]
}
changed() { [ "$(picture)" != "$1" ]; }

# Holds down the key, or the mouse button "button N", until the test (the
# remaining words) holds; tries again, after letting go, when it does not.
# False if it never holds, or the game ended before it did.
hold_until() {
    local what=$1 down up try end
    shift
    if [ "${what%% *}" = button ]; then
        down="mousedown ${what#button }"
        up="mouseup ${what#button }"
    else
        down="keydown $what"
        up="keyup $what"
    fi
    for try in $(seq $kTries); do
        timeout 1 xdotool windowfocus "$WIN" 2>/dev/null
        timeout 1 xdotool $down
        end=$((SECONDS + kTrySeconds))
        while [ $SECONDS -lt $end ]; do
            "$@" && break
            running || break
            sleep 0.1
        done
        timeout 1 xdotool $up
        if "$@"; then
            # Up long enough for a frame to see it, so that the same key can
            # go down again as a new press.
            sleep 0.2
            return 0
        fi
        running || return 1
    done
    return 1
}

# Presses the key (or "button N") until the log holds one of the texts once
# more than before.
key() {
    local what=$1
    shift
    hold_until "$what" logged "$(seen "$@")" "$@" || fail "$what: the log never showed \"$1\" once more"
}

# Presses the key, whose step the game does not log, until its window's
# picture changes.
key_shown() {
    hold_until "$1" changed "$(settled)" || fail "$1: the window's picture never changed"
}

# Presses F5 for as long as the game runs, each save confirmed by its log
# line before the next press.
save_until_exit() {
    while running; do
        hold_until F5 logged "$(seen "SAVE: game saved")" "SAVE: game saved" || ! running || fail "F5: no save"
    done
}

# Brings the cursor over the window's UI point (x, y) of the 1600 x 900 UI
# with a short move of the hand, until the menu's hover shows it.
point() {
    local before try end WINDOW X Y WIDTH HEIGHT SCREEN
    before=$(settled)
    eval "$(timeout 1 xdotool getwindowgeometry --shell "$WIN")"
    local row=$((Y + $2 * WIDTH / 1600))
    for try in $(seq $kTries); do
        timeout 1 xdotool windowfocus "$WIN" 2>/dev/null
        timeout 1 xdotool mousemove $((X + ($1 - 10) * WIDTH / 1600)) $row
        sleep 0.1
        timeout 1 xdotool mousemove $((X + $1 * WIDTH / 1600)) $row
        end=$((SECONDS + kTrySeconds))
        while [ $SECONDS -lt $end ]; do
            changed "$before" && return 0
            running || fail "pointing at $1, $2: the game ended"
            sleep 0.1
        done
    done
    fail "pointing at $1, $2: the menu never showed it"
}

# The window's place and size, as await_new_geometry takes them.
geometry() { timeout 1 xdotool getwindowgeometry "$WIN"; }

# Waits until the window's place or size differs from the geometry given,
# and its picture has settled.
await_new_geometry() {
    local end=$((SECONDS + kWaitSeconds))
    while [ $SECONDS -lt $end ]; do
        [ "$(geometry)" != "$1" ] && settled > /dev/null && return 0
        running || break
        sleep 0.1
    done
    fail "the window never changed"
}

# Ends the game where the test needs no more of it.
stop_game() { kill "$GAME" 2>/dev/null; }
