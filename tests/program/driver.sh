# driver.sh: drives the game a whole-program test started, one step at a
# time, the way a player would: keys, the pointer and clicks. Each step is
# confirmed before the next is taken: from the game's log where the game logs
# what the step does, otherwise from its window's picture. A key or button is
# held down until its step is confirmed, so no frame can miss it, and sent
# again when the window never got it. A step that is not confirmed in time,
# a look at the window that cannot be taken and a picture that will not
# settle end the drive: the reason goes to driver.fail, which the test
# reports, any key held is let go and the game is stopped. Every wait is
# bounded.
#
# Sourced by ProgramRun in the run's folder: $GAME is the game's pid and
# game.log its log.

# Seconds that one wait, or one try of a step, may take, and the tries.
kWaitSeconds=30
kTrySeconds=5
kTries=3
# Seconds a step is still looked for after its key is let go, before the key
# goes down again: a frame slower than the try may yet show the press, and a
# second press of a toggle (Escape, a menu row) would undo the first. The
# picture shows a step a frame after the log, and each look is slow, so a
# step seen only in the picture is given longer.
kLateLogSeconds=5
kLatePictureSeconds=15
# Seconds one look at the window may take.
kLookSeconds=5
# The digest of a look that gave no bytes.
kNoBytes=d41d8cd98f00b204e9800998ecf8427e

step="the drive"  # the step under way, for the reasons of a failed look
held=             # the xdotool command that lets go of the key held now

# Ends the drive with the reason.
fail() {
    [ -n "$held" ] && timeout 1 xdotool $held
    held=
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
    within $kWaitSeconds logged 0 "$1" || fail "the log never showed \"$1\""
}

# True once the game's window is found, as $WIN.
window_found() {
    WIN=$(timeout 2 xdotool search --name '^Palewick$' 2>/dev/null | head -n 1)
    [ -n "$WIN" ]
}

# Waits until the log holds the text, then finds the game's window as $WIN.
# The search has a bound of its own, from the log line on: a line that comes
# late leaves it the whole wait.
await_window() {
    await "$1"
    within $kWaitSeconds window_found || fail "no window named Palewick"
}

# Looks at the window's picture as it is on the screen now: its digest goes
# to $digest. A look that cannot be taken (import gives no bytes, takes too
# long or finds no window) is tried twice more, the shared display now and
# then refusing a connection, and then ends the drive: taken for a picture,
# it would read as a change.
picture() {
    local try status reason
    for try in $(seq $kTries); do
        digest=$(set -o pipefail; timeout $kLookSeconds import -window "$WIN" rgb:- 2>/dev/null | md5sum)
        status=$?
        digest=${digest%% *}
        if [ $status -eq 124 ]; then
            reason="import gave no picture in $kLookSeconds s"
        elif [ $status -ne 0 ]; then
            reason="import failed with status $status"
        elif [ "$digest" = $kNoBytes ]; then
            reason="import gave no bytes"
        else
            return 0
        fi
        running || { reason="$reason, the game has ended"; break; }
        sleep 0.2
    done
    fail "$step: no look at the window: $reason"
}

# Waits until three looks in a row agree, the digest in $digest: a frame
# still on its way is not taken for a step's change. A picture that is still
# changing at the end of the wait ends the drive.
settled() {
    local last same=0 end=$((SECONDS + kWaitSeconds))
    picture
    while [ $SECONDS -lt $end ]; do
        last=$digest
        picture
        if [ "$digest" = "$last" ]; then
            same=$((same + 1))
            [ $same -ge 2 ] && return 0
        else
            same=0
        fi
    done
    fail "$step: the window's picture did not settle in $kWaitSeconds s"
}

# What hold_until waits for: "logged COUNT TEXT...", the log holds one of
# the texts more than COUNT times; "changed DIGEST", the picture differs.
logged() {
    local count=$1
    shift
    [ "$(seen "$@")" -gt "$count" ]
}
changed() {
    picture
    [ "$digest" != "$1" ]
}

# True once the test (the remaining words) holds within the seconds given;
# false when it does not, or the game ends first.
within() {
    local end=$((SECONDS + $1))
    shift
    while true; do
        "$@" && return 0
        running && [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

# Holds down the key, or the mouse button "button N", until the test (the
# remaining words) holds; tries again, after letting go, when it does not.
# False if it never holds, or the game ended before it did.
hold_until() {
    local what=$1 down up try late=$kLateLogSeconds
    shift
    if [ "${what%% *}" = button ]; then
        down="mousedown ${what#button }"
        up="mouseup ${what#button }"
    else
        down="keydown $what"
        up="keyup $what"
    fi
    [ "$1" = changed ] && late=$kLatePictureSeconds
    for try in $(seq $kTries); do
        timeout 1 xdotool windowfocus "$WIN" 2>/dev/null
        held=$up
        timeout 1 xdotool $down
        within $kTrySeconds "$@"
        timeout 1 xdotool $up
        held=
        # A press the game took in a slow frame shows late: it is waited
        # for before the key goes down again.
        if within $late "$@"; then
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
    step=$what
    hold_until "$what" logged "$(seen "$@")" "$@" || fail "$what: the log never showed \"$1\" once more"
}

# Presses the key, whose step the game does not log, until its window's
# picture changes.
key_shown() {
    step=$1
    settled
    hold_until "$1" changed "$digest" || fail "$1: the window's picture never changed"
}

# Presses F5 for as long as the game runs, each save confirmed by its log
# line before the next press.
save_until_exit() {
    step=F5
    while running; do
        hold_until F5 logged "$(seen "SAVE: game saved")" "SAVE: game saved" || ! running || fail "F5: no save"
    done
}

# Brings the cursor over the window's UI point (x, y) of the 1600 x 900 UI
# with a short move of the hand, until the menu's hover shows it.
point() {
    local before try WINDOW X Y WIDTH HEIGHT SCREEN
    step="pointing at $1, $2"
    settled
    before=$digest
    eval "$(timeout 1 xdotool getwindowgeometry --shell "$WIN")"
    [ -n "$WIDTH" ] || fail "$step: the window's place could not be read"
    local row=$((Y + $2 * WIDTH / 1600))
    for try in $(seq $kTries); do
        timeout 1 xdotool windowfocus "$WIN" 2>/dev/null
        timeout 1 xdotool mousemove $((X + ($1 - 10) * WIDTH / 1600)) $row
        sleep 0.1
        timeout 1 xdotool mousemove $((X + $1 * WIDTH / 1600)) $row
        within $kTrySeconds changed "$before" && return 0
        running || fail "$step: the game ended"
    done
    fail "pointing at $1, $2: the menu never showed it"
}

# The window's place and size, as await_new_geometry takes them.
geometry() { timeout 1 xdotool getwindowgeometry "$WIN"; }

# Waits until the window's place or size differs from the geometry given,
# and its picture has settled. A geometry that could not be read is no
# change.
await_new_geometry() {
    local now end=$((SECONDS + kWaitSeconds))
    step="the window's change"
    [ -n "$1" ] || fail "$step: the window's geometry before it was not read"
    while [ $SECONDS -lt $end ]; do
        now=$(geometry)
        if [ -n "$now" ] && [ "$now" != "$1" ]; then
            settled
            return 0
        fi
        running || break
        sleep 0.1
    done
    fail "the window never changed"
}

# Ends the game where the test needs no more of it.
stop_game() { kill "$GAME" 2>/dev/null; }
