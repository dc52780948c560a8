#!/usr/bin/env bash
# Plays the built game in a real window under its own Xvfb, with Mesa's software renderer:
# the first picture, a fall into a hole on level 1 steered with real key events, F1, a close
# request, the logs the game leaves in game/log/, SIGTERM and SIGINT with and without a message
# box open, and the window's size under a window manager. Prints each check as "ok - ..." or
# "not ok - ...", then "e2e: N passed, M failed"; the exit status is non-zero on a failure.
#
#   tests/e2e/run.sh BUILD_DIR        (from anywhere; BUILD_DIR holds quorvel)

# shellcheck disable=SC2317  # the small helpers are called through check and until_true
set -uo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
[[ $build = /* ]] || build=$PWD/$build
game_bin=$build/quorvel
close_bin=$build/tests/send_close_request
game_dir=$repo/game
title="Quorvel 04: Lights"

passed=0 failed=0
check() { # check DESCRIPTION COMMAND...: one line of the report
  local what=$1
  shift
  if "$@"; then
    echo "ok - $what"
    passed=$((passed + 1))
  else
    echo "not ok - $what"
    failed=$((failed + 1))
  fi
}
finish() {
  echo "e2e: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-e2e-XXXXXX")
shots=$work/screenshots
mkdir -p "$shots"
xvfb_pid="" game_pid="" watchdog_pid="" wm_pid="" box_pids=""

cleanup() {
  local pid
  for pid in "$game_pid" $box_pids "$wm_pid" "$xvfb_pid" "$watchdog_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  # A game that ignored the polite signal does not get to hold CI.
  [ -n "$game_pid" ] && sleep 0.2 && kill -KILL "$game_pid" 2>/dev/null
  wait 2>/dev/null  # reap them, so none is left behind
  true
}
trap cleanup EXIT
trap 'echo "not ok - e2e run interrupted"; failed=$((failed + 1)); finish' INT TERM

# ---------------------------------------------------------------- helpers

# until_true SECONDS COMMAND...: true as soon as the command succeeds, false once the time is up.
until_true() {
  local deadline=$((SECONDS + $1))
  shift
  while ! "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

alive() { kill -0 "$game_pid" 2>/dev/null; }
gone() { ! alive; }

# The id of the top-level window with exactly this title, or nothing. Debian's xdotool does not
# match titles set as UTF-8 (as the boxes' are), so the message boxes are looked up through the
# window tree instead.
box_window() {
  xwininfo -root -children | awk -v t="\"$1\":" '$2 == t || index($0, " " t " ") { print $1; exit }'
}

# start_game [DIR]: runs the game in DIR (game/ by default) with fresh logs; sets game_pid.
start_game() {
  local dir=${1:-$game_dir}
  mkdir -p "$dir/log"
  rm -f "$dir"/log/*.txt
  (cd "$dir" && exec "$game_bin") >"$work/game.out" 2>"$work/game.err" &
  game_pid=$!
}

# wait_exit SECONDS: the game's exit status, or 124 when it is still running after that long.
wait_exit() {
  if until_true "$1" gone; then
    wait "$game_pid"
    local status=$?
    game_pid=""
    return "$status"
  fi
  return 124
}

stop_game() {
  if [ -n "$game_pid" ]; then
    kill -KILL "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_pid=""
  fi
}

# The pixels of a screenshot as "x y r g b" lines.
pixels() { convert "$1" -depth 8 txt:- | sed -nE 's/^([0-9]+),([0-9]+): *\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4 \5/p'; }

# Colour counts of a game picture: blue background, the purple of the ball and the goal, and
# whatever else (the tiles' textures).
#   blue_corners blue_per_mille other_per_mille other_colours centre_purple_per_mille
picture_stats() {
  local width height
  read -r width height < <(identify -format '%w %h\n' "$1")
  pixels "$1" | awk -v w="$width" -v h="$height" '
    function purple(r, g, b) { return r >= g + 40 && b >= g + 40 }
    {
      x = $1; y = $2; r = $3; g = $4; b = $5
      total++
      if (r == 0 && g == 0 && b == 255) {
        blue++
        if ((x == 3 || x == w - 4) && (y == 3 || y == h - 4)) corners++
      } else if (!purple(r, g, b)) {
        other++
        colours[r " " g " " b] = 1
      }
      # An 11 x 11 square at the centre of the client area.
      if (x >= int(w / 2) - 5 && x <= int(w / 2) + 5 && y >= int(h / 2) - 5 && y <= int(h / 2) + 5) {
        centre++
        if (purple(r, g, b)) centre_purple++
      }
    }
    END {
      n = 0
      for (c in colours) n++
      printf "%d %d %d %d %d\n", corners, 1000 * blue / total, 1000 * other / total, n,
             centre ? 1000 * centre_purple / centre : 0
    }'
}

# check_picture NAME FILE: the three things every frame of the game shows.
check_picture() {
  local corners blue other colours centre
  read -r corners blue other colours centre < <(picture_stats "$2")
  echo "# $1: blue corners $corners/4, blue ${blue}‰, tiles ${other}‰ in $colours colours, purple at the centre ${centre}‰"
  check "$1: the background is blue" test "$corners" -eq 4 -a "$blue" -ge 250
  check "$1: tiles are drawn, textured" test "$other" -ge 100 -a "$colours" -ge 8
  check "$1: the purple ball is at the centre of the client area" test "$centre" -ge 800
}

# Light pixels (the text) in the upper part of a box, above its button.
text_pixels() {
  local height
  height=$(identify -format '%h' "$1")
  pixels "$1" | awk -v top="$((height * 45 / 100))" '$2 < top && $3 + $4 + $5 >= 450 { n++ } END { print n + 0 }'
}

# A field of level 1's header (1-based, in whitespace-separated words).
header_word() { tr -s ' \t\r\n' '\n' <"$game_dir/$(head -n 1 "$game_dir/map/jeu.txt")" | grep -v '^$' | sed -n "$1p"; }

snake_log() { cat "$game_dir/log/logSnake.txt" 2>/dev/null; }
float='-?[0-9]+(\.[0-9]+)?(e[-+]?[0-9]+)?'

# near A B TOLERANCE
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; exit !(d <= t && -d <= t) }'; }
between() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v > lo && v <= hi) }'; }
no_line_end() { [ -s "$1" ] && [ "$(tail -c 1 "$1" | od -An -tx1 | tr -d ' ')" != 0a ]; }

# The logs after a run: the level list, the grid of level 1 and the two motion logs.
check_logs() {
  local log=$game_dir/log level1 rows columns
  local expected
  expected=$(printf 'map lues :\n'; while IFS= read -r line || [ -n "$line" ]; do printf '%s\n' "$line"; done <"$game_dir/map/jeu.txt")
  check "$1: GameLog.txt is \"map lues :\" and the level list" \
    test "$(cat "$log/GameLog.txt" 2>/dev/null; echo .)" = "$expected
."
  check "$1: GameLog.txt lists four levels" test "$(tail -n +2 "$log/GameLog.txt" 2>/dev/null | grep -c .)" -eq 4

  level1=$(head -n 1 "$game_dir/map/jeu.txt")
  rows=$(header_word 1) columns=$(header_word 2)
  check "$1: logmap.txt has rows x columns ($rows x $columns) lines" \
    test "$(wc -l <"$log/logmap.txt" 2>/dev/null)" -eq $((rows * columns))
  # Each height as the grid file gives it, a hole as -65489.
  expected=$(awk '{ for (i = 1; i <= NF; i++) print ($i < 0 ? -65489 : $i + 0) }' "$game_dir/$(header_word 5)")
  check "$1: logmap.txt holds level 1's heights ($level1) in grid order" \
    test "$(cat "$log/logmap.txt" 2>/dev/null)" = "$expected"

  check "$1: interp.txt is the step's milliseconds and speed, no line end" \
    grep -Eqx -- "-?[0-9]+($float)?" "$log/interp.txt"
  check "$1: interp.txt ends without a line end" no_line_end "$log/interp.txt"
  check "$1: logSnake.txt is the position and the five contact flags" \
    grep -Eqx -- "$float $float ${float}pres[01]loin[01]gauche[01]droite[01]dessus[01]" "$log/logSnake.txt"
  check "$1: logSnake.txt ends without a line end" no_line_end "$log/logSnake.txt"
}

show_game_errors() {
  if [ -s "$work/game.err" ]; then
    sed 's/^/# game stderr: /' "$work/game.err"
  fi
}

# check_end HOW LOGS_LABEL: the game ends by itself with exit code 0, and leaves its logs.
check_end() {
  local status=125  # no game to wait for
  if [ -n "$game_pid" ]; then
    wait_exit 10
    status=$?
  fi
  check "$1 ends the program with exit code 0 (got $status)" test "$status" -eq 0
  [ "$status" -eq 0 ] || show_game_errors
  stop_game
  check_logs "$2"
}

# geometry WINDOW: "WIDTHxHEIGHT+X+Y", the position on the screen.
geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ +Width:/ { w = $NF } /^ +Height:/ { h = $NF }
    END { if (w != "") printf "%sx%s+%s+%s\n", w, h, x, y }'
}

# outer_window WINDOW: the window itself, or the frame a window manager put it in.
outer_window() {
  local w=$1 parent root
  root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  while parent=$(xwininfo -tree -id "$w" 2>/dev/null | awk '/Parent window id:/ { print $4 }') &&
    [ -n "$parent" ] && [ "$((parent))" -ne "$((root))" ]; do
    w=$parent
  done
  echo "$w"
}

# screenshot WINDOW NAME: saved among the others, its path printed.
screenshot() {
  import -window "$1" "$shots/$2.png"
  echo "# screenshot: $shots/$2.png"
}

# ---------------------------------------------------------------- the display

if [ ! -x "$game_bin" ]; then
  check "the game is built ($game_bin)" false
  finish
fi
for tool in Xvfb xdotool xwininfo xprop import convert identify; do
  command -v "$tool" >/dev/null || { check "$tool is installed" false; finish; }
done

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
if ! until_true 10 test -s "$work/display"; then
  check "Xvfb starts" false
  finish
fi
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
# Whatever hangs, the run ends within four minutes: without the X server every client fails.
run_pid=$$
(
  sleep 240 &
  nap=$!
  trap 'kill "$nap"; exit' TERM
  wait "$nap" && kill -TERM "$run_pid" && kill "$xvfb_pid"
) 2>/dev/null &
watchdog_pid=$!
export LIBGL_ALWAYS_SOFTWARE=1
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
echo "# display $DISPLAY; screenshots in $shots"

# ---------------------------------------------------------------- run 1: picture, fall, F1

start_game
window=""
find_game_window() { window=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1); [ -n "$window" ]; }
check "the window \"$title\" appears" until_true 15 find_game_window
if [ -z "$window" ]; then
  show_game_errors
  finish
fi
check "its title is byte-exact" test "$(xprop -id "$window" -notype WM_NAME)" = "WM_NAME = \"$title\""
client=$(geometry "$window")
check "with no window manager the client area is the whole 300 x 300 at 100, 100 ($client)" \
  test "$client" = "300x300+100+100" -a "$(outer_window "$window")" = "$window"

sleep 1
screenshot "$window" level1
check_picture "level 1 after a second" "$shots/level1.png"

# Steer to the right into the pit beside the start.
xdotool windowfocus --sync "$window"
xdotool key l
box=""
find_fall_box() { box=$(box_window "AAAOUCHH!"); [ -n "$box" ]; }
check "pressing L drops the ball into a hole: the box \"AAAOUCHH!\" appears" until_true 10 find_fall_box
if [ -n "$box" ]; then
  check "the box's title is byte-exact" test "$(xprop -id "$box" -notype WM_NAME)" = 'WM_NAME = "AAAOUCHH!"'
  sleep 0.3
  screenshot "$box" fall-box
  light=$(text_pixels "$shots/fall-box.png")
  check "the box shows its text ($light light pixels above the button)" test "$light" -ge 150
  y=$(snake_log | sed -nE "s/^($float) ($float) .*/\4/p")
  check "the ball's last step took it below -5 (y = $y)" awk -v y="${y:-0}" 'BEGIN { exit !(y < -5) }'

  xdotool windowfocus --sync "$box"
  xdotool key Return
  box_closed() { [ -z "$(box_window "AAAOUCHH!")" ]; }
  check "Return dismisses the box" until_true 5 box_closed
fi

# Back at the start: it falls onto the ground below it within a second and a half.
sleep 2
start_x=$(header_word 10) start_y=$(header_word 11) start_z=$(header_word 12)
read -r x y z < <(snake_log | sed -nE "s/^($float) ($float) ($float)pres.*/\1 \4 \7/p")
echo "# ball at (${x:-?}, ${y:-?}, ${z:-?}); level 1 starts at ($start_x, $start_y, $start_z)"
check "the game goes on" alive
at_start() { near "${x:-1e9}" "$start_x" 0.01 && near "${z:-1e9}" "$start_z" 0.01 && between "${y:-1e9}" 0 "$start_y"; }
check "the ball is back at level 1's start" at_start
check "the ball stands on the ground there" grep -q 'dessus1$' "$game_dir/log/logSnake.txt"
screenshot "$window" after-fall
check_picture "after the fall" "$shots/after-fall.png"

xdotool windowfocus --sync "$window"
xdotool key F1
check_end "F1" "after F1"

# ---------------------------------------------------------------- run 2: a close request

start_game
window=""
check "the window appears again" until_true 15 find_game_window
if [ -n "$window" ]; then
  sleep 1
  check "a WM_DELETE_WINDOW request is sent" "$close_bin" "$window"
fi
check_end "closing the window" "after closing"

# ---------------------------------------------------------------- run 3: SIGTERM

start_game
window=""
check "the window appears for a SIGTERM" until_true 15 find_game_window
sleep 1
kill -TERM "$game_pid"
wait_exit 5
status=$?
check "SIGTERM with no box open ends the program with exit code 0 (got $status)" test "$status" -eq 0
stop_game

# ---------------------------------------------------------------- run 4: ended while a box is open

# A level list naming a header that does not exist gives an empty level: the ball falls at
# once and the box opens, shown by a process of the game's own.
empty_dir=$work/empty-level
mkdir -p "$empty_dir"
cp -r "$game_dir/map" "$game_dir/texture" "$game_dir/boule.x" "$empty_dir"
echo "map/missing.txt" >"$empty_dir/map/jeu.txt"

descendants() { # descendants PID: every process below it
  local child
  for child in $(pgrep -P "$1"); do
    echo "$child"
    descendants "$child"
  done
}
live() { local stat; stat=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $stat != Z* ]]; }

# end_during_box HOW: TERM, INT (signals to the game) or close (a close request to its window)
# ends the game, and the box with it.
end_during_box() {
  local how=$1 box="" below start elapsed status pid left=""
  start_game "$empty_dir"
  find_box() { box=$(box_window "AAAOUCHH!"); [ -n "$box" ]; }
  check "$how: on an empty level the box opens" until_true 15 find_box
  below=$(descendants "$game_pid" | tr '\n' ' ')
  box_pids="$box_pids $below"
  check "$how: the box runs in processes below the game (${below% })" test -n "$below"
  start=$(date +%s%N)
  if [ "$how" = close ]; then
    window=""
    find_game_window && "$close_bin" "$window"
  else
    kill -"$how" "$game_pid"
  fi
  until_true 5 gone
  elapsed=$((($(date +%s%N) - start) / 1000000))
  wait_exit 1
  status=$?
  check "$how with the box open ends the program within a second with exit code 0 (got $status after $elapsed ms)" \
    test "$status" -eq 0 -a "$elapsed" -lt 1000
  [ "$status" -eq 0 ] || show_game_errors
  stop_game
  no_box() { [ -z "$(box_window "AAAOUCHH!")" ]; }
  check "$how: the box is gone" until_true 1 no_box
  for pid in $below; do
    live "$pid" && left="$left $pid"
  done
  check "$how: no process of the game is left${left:+ (left:$left)}" test -z "$left"
  for pid in $left; do
    kill -KILL "$pid" 2>/dev/null  # so that the next run finds no box of this one
  done
  quiet_box() { ! grep -q "no message box" "$work/game.err"; }
  check "$how: no \"no message box\" line on stderr" quiet_box
}
end_during_box TERM
names_header() { grep -qx 'Level header "map/missing.txt" not loaded: the file does not open' "$work/game.err"; }
check "the header that does not open is named on stderr" names_header
# Started as a background job of this script, the game inherits SIGINT ignored: it takes it all the same.
end_during_box INT
end_during_box close

# ---------------------------------------------------------------- run 5: under a window manager

# The frame, caption included, is the 300 x 300 the game asks for; the client area is what is
# left, and the picture fills it.
XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q '0x[0-9a-f]'; }
check "openbox manages the display" until_true 10 wm_running
start_game
window=""
check "the window appears under openbox" until_true 15 find_game_window
if [ -n "$window" ]; then
  framed() { [ "$(outer_window "$window")" != "$window" ] && [ "$(geometry "$(outer_window "$window")")" = "300x300+100+100" ]; }
  until_true 5 framed
  frame=$(outer_window "$window")
  outer=$(geometry "$frame") client=$(geometry "$window")
  read -r left right top bottom < <(xprop -id "$window" -notype _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -c '0-9\n' ' ')
  echo "# frame $outer, client area $client, borders left $left right $right top $top bottom $bottom"
  check "its frame is 300 x 300 at 100, 100 ($outer)" test "$frame" != "$window" -a "$outer" = "300x300+100+100"
  check "the client area is the frame less the borders" \
    test "$client" = "$((300 - ${left:-0} - ${right:-0}))x$((300 - ${top:-0} - ${bottom:-0}))+$((100 + ${left:-0}))+$((100 + ${top:-0}))" \
    -a "$((${top:-0} + ${bottom:-0}))" -gt 0
  sleep 1
  screenshot "$window" window-manager
  check_picture "under openbox" "$shots/window-manager.png"
  "$close_bin" "$window"
fi
wait_exit 10
status=$?
check "a close request under openbox ends the program with exit code 0 (got $status)" test "$status" -eq 0
stop_game
kill "$wm_pid" 2>/dev/null
wait "$wm_pid" 2>/dev/null
wm_pid=""

finish
