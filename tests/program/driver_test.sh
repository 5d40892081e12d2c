#!/usr/bin/env bash
# driver_test.sh: the whole-program driver's steps against stand-ins for
# xdotool and import, with a sleeping process for the game, so that neither a
# display nor the game is needed. A look that cannot be taken and a picture
# that never settles must fail their step, with the reason, the key let go
# and the game stopped; a step a slow frame shows only after the key is let
# go must be confirmed after one press, not pressed a second time; a window
# found only after a log line that came late must still be found.
set -u
driver="$(cd "$(dirname "$0")" && pwd)/driver.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# xdotool: each call goes to "calls"; a key or button down or up to "held",
# and the time of the first press, in ms, to "pressed". A search finds the
# window once "window" is there.
cat > "$work/bin/xdotool" << 'EOF'
#!/usr/bin/env bash
echo "$*" >> calls
case $1 in
    search) [ -e window ] && echo 4242 ;;
    keydown | mousedown) echo down > held; [ -e pressed ] || echo $(($(date +%s%N) / 1000000)) > pressed ;;
    keyup | mouseup) echo up > held ;;
esac
exit 0
EOF

# import: a still picture, except as $LOOK says: from the first press on it
# gives no bytes (blank), fails as on a window that is gone (gone) or never
# answers (hang); every look differs (flicker); or the picture changes 4 s
# after the first press (late), as a slow frame would show it.
cat > "$work/bin/import" << 'EOF'
#!/usr/bin/env bash
case $LOOK in
    blank) [ -e pressed ] && exit 0 ;;
    gone) [ -e pressed ] && { echo "import: unable to read X window image" >&2; exit 1; } ;;
    hang) [ -e pressed ] && exec sleep 60 ;;
    flicker) date +%N; exit 0 ;;
    late) [ -e pressed ] && [ $(($(date +%s%N) / 1000000 - $(cat pressed))) -ge 4000 ] && { echo after; exit 0; } ;;
esac
echo before
EOF
chmod +x "$work/bin/xdotool" "$work/bin/import"

# The game's log shows the line 4 s after the first press.
late_log() {
    (
        for _ in $(seq 100); do [ -e pressed ] && break; sleep 0.1; done
        sleep 4
        echo "INFO: MENU: opened (paused)" >> game.log
    ) &
}

# The game's log shows its first line 4 s after the start, near the end of a
# wait of 6 s (SECONDS counts whole seconds: a wait is 5 to 6 s), and its
# window can be found 3 s after that, past the end of the wait the log line
# was awaited in.
late_window() {
    kWaitSeconds=6
    (
        sleep 4
        echo "INFO: SURVIVAL: started" >> game.log
        sleep 3
        touch window
    ) &
}

# Each row: its name, the stand-in's $LOOK, the driver's steps, the reason
# driver.fail must hold (none: the steps are confirmed) and how many presses
# the steps may make.
rows=(
    "no bytes after the press|blank|key_shown Up|Up: no look at the window: import gave no bytes|1"
    "the window gone after the press|gone|key_shown Up|Up: no look at the window: import failed with status 1|1"
    "no answer after the press|hang|key_shown Up|Up: no look at the window: import gave no picture in 1 s|1"
    "a picture that never settles|flicker|key_shown Up|Up: the window's picture did not settle in 3 s|0"
    "a pointer over a picture that never settles|flicker|point 800 450|pointing at 800, 450: the window's picture did not settle in 3 s|0"
    "a picture that changes late|late|key_shown Escape||1"
    "a log line that comes late|still|late_log; key Escape 'MENU: opened'||1"
    "a window found only after a late log line|still|late_window; await_window SURVIVAL:||0"
)

failures=0
for row in "${rows[@]}"; do
    IFS='|' read -r name look steps reason presses <<< "$row"
    run="$work/run"
    rm -rf "$run"
    mkdir "$run"
    cd "$run" || exit 1
    touch game.log
    sleep 60 &
    game=$!
    # A try of 2 s and 6 s more for a late step: the late change, 4 s after
    # the press, comes after the first try and before a second press.
    (
        export LOOK=$look PATH="$work/bin:$PATH"
        GAME=$game
        . "$driver"
        kWaitSeconds=3 kTrySeconds=2 kLateLogSeconds=6 kLatePictureSeconds=6 kLookSeconds=1
        WIN=4242
        eval "$steps"
        touch confirmed
    ) > /dev/null 2>&1
    problems=()
    if [ -z "$reason" ]; then
        [ -e confirmed ] || problems+=("not confirmed")
        [ -e driver.fail ] && problems+=("failed: $(cat driver.fail)")
    else
        [ -e confirmed ] && problems+=("confirmed")
        grep -q -x -F "$reason" driver.fail 2> /dev/null || problems+=("driver.fail holds \"$(cat driver.fail 2> /dev/null)\"")
        kill -0 $game 2> /dev/null && problems+=("the game was not stopped")
    fi
    count=$(grep -c -E '^(keydown|mousedown) ' calls 2> /dev/null)
    [ "${count:-0}" -eq "$presses" ] || problems+=("${count:-0} presses, not $presses")
    [ "$(cat held 2> /dev/null || echo up)" = up ] || problems+=("a key left held")
    kill $game 2> /dev/null
    wait $game 2> /dev/null
    if [ ${#problems[@]} -gt 0 ]; then
        failures=$((failures + 1))
        printf '%s: %s\n' "$name" "$(IFS=';'; echo "${problems[*]}")"
    else
        echo "$name: as expected"
    fi
done
[ $failures -eq 0 ]
