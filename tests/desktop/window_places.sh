#!/usr/bin/env bash
# Window places on a desktop with a window manager, as a user sees them.
#
# Starts its own X server (Xvfb) and openbox, copies the program with its page
# folder and sample into a folder of its own, and starts it there again and
# again, some of the starts with every core kept busy. In each checked start
# it opens About (Ctrl+F1), the field view (F9), the parameter editor (F11) and
# the file window (F3) and checks each window's outer frame (frame and title
# bar included) against the place its rule gives: the stored place, or the
# default beside or below the main window's frame; the file window below the
# main window at its stored width and design height. After every exit the
# stored places and sizes must be those of the first exit: none moves from
# start to start. Last, with the main window at the bottom of the screen, the
# fill and clear dialogs and the file window must open above it, whole on the
# screen. At the default places no window covers the title bar of the main
# window, the statistics window, the field view or the parameter editor: the
# 1280-pixel screen has no room for the statistics window widened to its
# labels beside the main window and the editor, so it keeps its default width
# and the main window its default place; a last start on a screen of 1920
# pixels, where there is room, checks the widened window and the moved main
# window.
#
# Usage: window_places.sh PROGRAM [CHECKED_STARTS] [PLAIN_RESTARTS]
set -u

EXE=${1:?usage: window_places.sh PROGRAM [CHECKED_STARTS] [PLAIN_RESTARTS]}
CHECKED=${2:-10}
RESTARTS=${3:-5}
BIN=$(cd "$(dirname "$EXE")" && pwd)

for tool in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/common.sh installs it)"; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/zo-desktop.XXXXXX")
PROG="$WORK/program"
INI="$PROG/omra.ini"
XPID="" WMPID="" APPID="" BUSY=() FAILURES=0

cleanup() {
  trap - EXIT TERM INT
  [ -n "$APPID" ] && kill -9 "$APPID" 2>/dev/null
  for b in "${BUSY[@]}"; do kill "$b" 2>/dev/null; done
  [ -n "$WMPID" ] && kill "$WMPID" 2>/dev/null
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
  [ -n "${WATCHDOG:-}" ] && kill "$WATCHDOG" 2>/dev/null
  wait $XPID $WMPID ${WATCHDOG:-} 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'echo "FAIL: stopped (time is up or interrupted)"; exit 1' TERM INT
# However the program or the desktop behave, the test ends.
(
  sleep "${ZO_DESKTOP_TIMEOUT:-240}" &
  trap 'kill $! 2>/dev/null; exit 0' TERM
  wait $! && kill -TERM $$ 2>/dev/null
) &
WATCHDOG=$!

fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
}

# Waits until a command succeeds, at most $1 seconds.
wait_for() {
  local seconds=$1; shift
  local until=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $until ] && return 1
    sleep 0.1
  done
}

# ------------------------------------------------------------------ the desktop

# An X server with a screen of the given size and openbox on it; DISPLAY and
# the work area (WORK_L, WORK_T, WORK_W, WORK_H) are then its.
# -noreset: without it the server resets whenever its last client leaves (the
# probe below, or the program between two starts), and a client that connects
# during the reset, openbox at a busy moment, is refused.
desktop_up() {
  : >"$WORK/display"
  Xvfb -displayfd 5 -screen 0 "$1x24" -nolisten tcp -noreset 5>"$WORK/display" 2>"$WORK/xvfb.log" &
  XPID=$!
  wait_for 20 test -s "$WORK/display" || { echo "FAIL: the X server did not start"; cat "$WORK/xvfb.log"; exit 1; }
  export DISPLAY=":$(head -n1 "$WORK/display")" QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
  wait_for 20 xprop -root _NET_SUPPORTED || true
  openbox >"$WORK/openbox.log" 2>&1 &
  WMPID=$!
  wait_for 20 wm_up || { echo "FAIL: openbox did not start"; cat "$WORK/openbox.log"; exit 1; }
  read -r WORK_L WORK_T WORK_W WORK_H < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | awk '{print $1, $2, $3, $4}')
}
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
desktop_down() {
  kill "$WMPID" "$XPID" 2>/dev/null
  wait "$WMPID" "$XPID" 2>/dev/null
  WMPID="" XPID=""
}

desktop_up 1280x1024

mkdir -p "$PROG"
cp "$EXE" "$PROG/" && cp -r "$BIN/Files" "$PROG/" && cp "$BIN/fight_mutation.zod" "$PROG/" ||
  { echo "FAIL: cannot copy the program from $BIN"; exit 1; }

busy_on() {
  local n; n=$(nproc 2>/dev/null || echo 2)
  for _ in $(seq "$n"); do (while :; do :; done) & BUSY+=($!); done
}
busy_off() {
  [ ${#BUSY[@]} -gt 0 ] || return 0
  kill "${BUSY[@]}" 2>/dev/null
  wait "${BUSY[@]}" 2>/dev/null
  BUSY=()
}

# ------------------------------------------------------------------ the settings file

# The value of a key in a section of omra.ini (empty when absent).
ini() {
  [ -f "$INI" ] || return 0
  tr -d '\r' <"$INI" | awk -F= -v s="[$1]" -v k="$2" '
    /^\[/ { in_s = (tolower($0) == tolower(s)); next }
    in_s && tolower($1) == tolower(k) { sub(/^[^=]*=/, ""); print; exit }'
}

# Sets a key of a section (the section and key exist: written by an exit).
ini_set() {
  local tmp="$WORK/ini.tmp"
  tr -d '\r' <"$INI" | awk -F= -v s="[$1]" -v k="$2" -v v="$3" '
    /^\[/ { in_s = (tolower($0) == tolower(s)) }
    in_s && tolower($1) == tolower(k) { print $1 "=" v; next }
    { print }' | sed 's/$/\r/' >"$tmp" && mv "$tmp" "$INI"
}

PLACE_KEYS="MainForm:Top MainForm:Left FormView:Top FormView:Left FormView:Width FormView:Height
  FormStatistic:Top FormStatistic:Left FormStatistic:Width FormStatistic:Height FormParameter:Top
  FormParameter:Left FormParameter:Height Help:Top Help:Left Help:Width Help:Height Comment:Top Comment:Left
  Comment:Width Comment:Height FormShell:OpenBrowser.Width"

stored_places() {
  local key
  for key in $PLACE_KEYS; do echo "$key=$(ini "${key%%:*}" "${key#*:}")"; done
}

# ------------------------------------------------------------------ windows

# The first window of the program whose title matches a pattern, waiting up
# to $2 seconds for it to be shown.
find_window() {
  local pattern=$1 seconds=${2:-20} id
  local until=$((SECONDS + seconds))
  while :; do
    id=$(xdotool search --all --onlyvisible --pid "$APPID" --name "$pattern" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    [ $SECONDS -ge $until ] && return 1
    sleep 0.1
  done
}

# The outer rectangle of a framed window: "left top width height", from its
# client area and the frame the window manager states for it.
outer() {
  local id=$1 info ext
  info=$(xwininfo -id "$id" 2>/dev/null) || return 1
  ext=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  [ -n "$ext" ] || return 1
  echo "$info" | awk -v ext="$ext" '
    BEGIN { split(ext, e, ",") }   # left, right, top, bottom
    /Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /^  Width:/ { w = $2 } /^  Height:/ { h = $2 }
    END { print x - e[1], y - e[3], w + e[1] + e[2], h + e[3] + e[4] }'
}

client_size() { xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }'; }

# Checks a window's outer rectangle against what its rule gives ("-" for a
# value the rule leaves open), waiting a moment for a window that is placed
# again once its frame is known. Sets OUTER to the rectangle last seen.
OUTER="" MAIN_HEIGHT=78
expect_outer() {
  local what=$1 id=$2 want="$3 $4 $5 $6"
  local until=$((SECONDS + 3))
  while :; do
    OUTER=$(outer "$id") || OUTER="(not framed)"
    local ok=1 i=0 have wanted
    read -ra have <<<"$OUTER"
    for wanted in $want; do
      [ "$wanted" = "-" ] || [ "${have[$i]:-}" = "$wanted" ] || ok=0
      i=$((i + 1))
    done
    [ $ok = 1 ] && return 0
    if [ $SECONDS -ge $until ]; then
      fail "$LABEL: $what stands at $OUTER (left top width height), its rule gives $want"
      return 1
    fi
    sleep 0.1
  done
}

# Checks a window's client size against the stored one ("-" for a value not
# stored as a client size); nothing to check when none is stored yet.
expect_client_size() {
  local what=$1 id=$2 w=$3 h=$4 have_w have_h
  [ -n "$w" ] && [ -n "$h" ] || return 0
  read -r have_w have_h < <(client_size "$id")
  { [ "$w" = "-" ] || [ "$have_w" = "$w" ]; } && [ "$have_h" = "$h" ] ||
    fail "$LABEL: $what has the client size $have_w $have_h, stored $w $h"
}

# Whole on the work area.
expect_on_screen() {
  local what=$1 l t w h
  read -r l t w h <<<"$OUTER"
  if [ "$l" -lt "$WORK_L" ] || [ "$t" -lt "$WORK_T" ] || [ $((l + w)) -gt $((WORK_L + WORK_W)) ] ||
     [ $((t + h)) -gt $((WORK_T + WORK_H)) ]; then
    fail "$LABEL: $what at $OUTER is not whole on the work area $WORK_L $WORK_T $WORK_W $WORK_H"
  fi
}

# No window's outer rectangle lies over another's title bar (the frame's top
# extent): arguments are "name id" pairs of framed windows on the screen.
expect_title_bars_clear() {
  local names=() ids=() rects=() tops=() i j
  while [ $# -ge 2 ]; do
    names+=("$1"); ids+=("$2"); shift 2
  done
  for i in "${!ids[@]}"; do
    rects[$i]=$(outer "${ids[$i]}") || rects[$i]=""
    tops[$i]=$(xprop -id "${ids[$i]}" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | awk -F', *' '{print $3}')
  done
  for i in "${!ids[@]}"; do
    [ -n "${rects[$i]}" ] && [ -n "${tops[$i]}" ] || continue
    local al at aw ah
    read -r al at aw ah <<<"${rects[$i]}"
    for j in "${!ids[@]}"; do
      [ "$i" = "$j" ] && continue
      [ -n "${rects[$j]}" ] || continue
      local bl bt bw bh
      read -r bl bt bw bh <<<"${rects[$j]}"
      if [ "$bl" -lt $((al + aw)) ] && [ $((bl + bw)) -gt "$al" ] && [ "$bt" -lt $((at + tops[$i])) ] &&
         [ $((bt + bh)) -gt "$at" ]; then
        fail "$LABEL: ${names[$j]} at ${rects[$j]} covers the title bar of ${names[$i]} at ${rects[$i]}"
      fi
    done
  done
}

key() { timeout 10 xdotool key --clearmodifiers "$@"; }
activate() { timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || timeout 10 xdotool windowfocus "$1"; }

gone() { ! xdotool search --all --onlyvisible --pid "$APPID" --name "$1" >/dev/null 2>&1; }

start_program() {
  (cd "$PROG" && exec ./ZeltorOmra) >>"$WORK/program.log" 2>&1 &
  APPID=$!
  MAIN=$(find_window '^ZeltorOmra [0-9]' 60) || { fail "$LABEL: the main window did not show"; return 1; }
}

exit_program() {
  activate "$MAIN"
  key ctrl+x
  local until=$((SECONDS + 30))
  while kill -0 "$APPID" 2>/dev/null; do
    if [ $SECONDS -ge $until ]; then
      fail "$LABEL: the program did not end on Ctrl+X"
      kill -9 "$APPID" 2>/dev/null
      break
    fi
    sleep 0.1
  done
  wait "$APPID" 2>/dev/null
  APPID=""
}

# Shows a tool window toggled by a key, hiding it first when it is shown, so
# that every start shows it anew.
show_toggled() {
  local pattern=$1 keyname=$2
  activate "$MAIN"
  if ! gone "$pattern"; then
    key "$keyname"
    wait_for 10 gone "$pattern"
    activate "$MAIN"
  fi
  key "$keyname"
  find_window "$pattern" 20
}

# ------------------------------------------------------------------ one checked start

checked_start() {
  # The places the rules give, from the settings as the start reads them.
  local main_l main_t
  main_l=$(ini MainForm Left); main_t=$(ini MainForm Top)
  local view_l view_t view_w view_h stat_l stat_t stat_w stat_h par_l par_t help_l help_t help_w help_h shell_w
  view_l=$(ini FormView Left); view_t=$(ini FormView Top); view_w=$(ini FormView Width); view_h=$(ini FormView Height)
  stat_l=$(ini FormStatistic Left); stat_t=$(ini FormStatistic Top)
  stat_w=$(ini FormStatistic Width); stat_h=$(ini FormStatistic Height)
  par_l=$(ini FormParameter Left); par_t=$(ini FormParameter Top)
  help_l=$(ini Help Left); help_t=$(ini Help Top); help_w=$(ini Help Width); help_h=$(ini Help Height)
  shell_w=$(ini FormShell OpenBrowser.Width)

  local com_l com_t com_w com_h
  com_l=$(ini Comment Left); com_t=$(ini Comment Top); com_w=$(ini Comment Width); com_h=$(ini Comment Height)

  start_program || return
  local ml mt mw mh
  # With no place stored, the main window stands at 230 and the statistics
  # window keeps its client width of 222: this screen has no room for it
  # widened to its labels beside the main window and the parameter editor.
  expect_outer "the main window" "$MAIN" "${main_l:-230}" "${main_t:-78}" - - || return
  read -r ml mt mw mh <<<"$OUTER"
  MAIN_HEIGHT=$mh
  local below=$((mt + mh))

  # The first start shows the sample's comments.
  local comments
  if comments=$(find_window '^Комментарии$' 1); then
    expect_outer "the comment window" "$comments" "${com_l:-$ml}" "${com_t:-$below}" "${com_w:-350}" -
    expect_client_size "the comment window" "$comments" - "$com_h"
  fi

  local stat
  if stat=$(find_window '^Статистика$' 20); then
    local sw
    sw=$(outer "$stat" | awk '{print $3}')
    expect_outer "the statistics window" "$stat" "${stat_l:-$((ml - sw))}" "${stat_t:-$mt}" - -
    expect_client_size "the statistics window" "$stat" "${stat_w:-222}" "${stat_h:-363}"
  else
    fail "$LABEL: the statistics window did not show"
  fi

  activate "$MAIN"
  key ctrl+F1
  local about
  if about=$(find_window '^О программе$' 20); then
    expect_outer "About" "$about" "${help_l:-$ml}" "${help_t:-$below}" "${help_w:-$mw}" -
    expect_client_size "About" "$about" - "$help_h"
  else
    fail "$LABEL: About did not show"
  fi

  local view beside=$((ml + mw))
  if view=$(show_toggled '^Наблюдение' F9); then
    expect_outer "the field view" "$view" "${view_l:-$ml}" "${view_t:-$below}" - -
    expect_client_size "the field view" "$view" "$view_w" "$view_h"
    # The editor stands right of the field view too where it is below the main window.
    local vl vt vw vh
    read -r vl vt vw vh <<<"$OUTER"
    [ "$vl" = "$ml" ] && [ "$vt" = "$below" ] && [ $((vl + vw)) -gt "$beside" ] && beside=$((vl + vw))
  else
    fail "$LABEL: the field view did not show on F9"
  fi

  local par
  if par=$(show_toggled '^Параметры$' F11); then
    local pw right
    pw=$(outer "$par" | awk '{print $3}')
    right=$((WORK_W - pw))
    [ -z "$par_l" ] && par_l=$((beside < right ? beside : right))
    expect_outer "the parameter editor" "$par" "$par_l" "${par_t:-$mt}" - -
  else
    fail "$LABEL: the parameter editor did not show on F11"
  fi
  expect_title_bars_clear "the main window" "$MAIN" "the statistics window" "${stat:-}" \
    "the field view" "${view:-}" "the parameter editor" "${par:-}"

  activate "$MAIN"
  key F3
  local shell
  if shell=$(find_window '^Открыть' 20); then
    # Never resized: the default width, or wider where its parts need more.
    if expect_outer "the file window" "$shell" "$ml" "$below" "${shell_w:--}" 372 && [ -z "$shell_w" ]; then
      [ "$(awk '{print $3}' <<<"$OUTER")" -ge 640 ] || fail "$LABEL: the file window is narrower than 640: $OUTER"
    fi
    key Escape
    wait_for 10 gone '^Открыть' || fail "$LABEL: the file window did not close on Escape"
  else
    fail "$LABEL: the file window did not show on F3"
  fi

  exit_program
}

# ------------------------------------------------------------------ the main window at the bottom

bottom_start() {
  # The main window with its lower edge on the screen's, the view hidden.
  ini_set MainForm Top $((WORK_T + WORK_H - MAIN_HEIGHT))
  ini_set FormView Visible 0
  start_program || return
  local ml mt mw mh
  OUTER=$(outer "$MAIN")
  read -r ml mt mw mh <<<"$OUTER"
  [ $((mt + mh)) -eq $((WORK_T + WORK_H)) ] || fail "$LABEL: the main window stands at $OUTER, not at the bottom"
  local dialog pattern keyname
  for pair in 'Заполнить поле:ctrl+i' 'Очистить поле:ctrl+c' 'Открыть:F3'; do
    pattern="^${pair%%:*}"; keyname=${pair##*:}
    activate "$MAIN"
    key "$keyname"
    if dialog=$(find_window "$pattern" 20); then
      local h
      h=$(outer "$dialog" | awk '{print $4}')
      expect_outer "${pair%%:*} with no room below the main window" "$dialog" "$ml" $((mt - h)) - - &&
        expect_on_screen "${pair%%:*}"
      key Escape
      wait_for 10 gone "$pattern" || fail "$LABEL: ${pair%%:*} did not close on Escape"
    else
      fail "$LABEL: ${pair%%:*} did not show on $keyname"
    fi
  done
  exit_program
}

# ------------------------------------------------------------------ the run

FIRST=""
check_stored() {
  local now
  now=$(stored_places)
  if [ -z "$FIRST" ]; then
    FIRST=$now
    return
  fi
  if [ "$now" != "$FIRST" ]; then
    fail "$LABEL: stored places moved:"
    diff <(echo "$FIRST") <(echo "$now") | grep '^[<>]' | sed 's/^/    /'
  fi
}

for i in $(seq "$CHECKED"); do
  # Every other start with every core busy.
  if [ $((i % 2)) -eq 0 ]; then LABEL="start $i (every core busy)"; busy_on; else LABEL="start $i"; fi
  checked_start
  busy_off
  [ -n "$APPID" ] && exit_program
  check_stored
done
for i in $(seq "$RESTARTS"); do
  LABEL="restart $i"
  [ "$i" -eq 2 ] && { LABEL="$LABEL (every core busy)"; busy_on; }
  start_program && sleep 1 && exit_program
  busy_off
  check_stored
done
LABEL="the main window at the bottom"
bottom_start

# ------------------------------------------------------------------ a wide screen

# A first start where the statistics window widened to its labels, the main
# window and the parameter editor stand side by side: the statistics window
# wider than 222, the main window as much right of 230, the editor beside it.
wide_start() {
  rm -f "$INI"
  start_program || return
  local stat view par sw
  stat=$(find_window '^Статистика$' 20) || { fail "$LABEL: the statistics window did not show"; return; }
  sw=$(client_size "$stat" | awk '{print $1}')
  [ "$sw" -gt 222 ] || fail "$LABEL: the statistics window has the client width $sw, not wider than 222"
  expect_outer "the main window" "$MAIN" $((230 + sw - 222)) 78 - -
  local ml mt mw mh
  read -r ml mt mw mh <<<"$OUTER"
  expect_outer "the statistics window" "$stat" $((ml - $(outer "$stat" | awk '{print $3}'))) "$mt" - -
  view=$(show_toggled '^Наблюдение' F9) || fail "$LABEL: the field view did not show on F9"
  local beside=$((ml + mw)) vw
  [ -n "$view" ] && vw=$(outer "$view" | awk '{print $3}') && [ $((ml + vw)) -gt "$beside" ] && beside=$((ml + vw))
  if par=$(show_toggled '^Параметры$' F11); then
    expect_outer "the parameter editor" "$par" "$beside" "$mt" - -
  else
    fail "$LABEL: the parameter editor did not show on F11"
  fi
  expect_title_bars_clear "the main window" "$MAIN" "the statistics window" "$stat" \
    "the field view" "${view:-}" "the parameter editor" "${par:-}"
  exit_program
}

desktop_down
desktop_up 1920x1080
LABEL="a first start on a screen of 1920 x 1080"
wide_start

if [ "$FAILURES" -gt 0 ]; then
  echo "--- the program's output"
  tail -n 20 "$WORK/program.log"
  echo "$FAILURES failed, $((CHECKED + RESTARTS + 2)) starts"
  exit 1
fi
echo "window places hold: $CHECKED checked starts, $RESTARTS restarts, the main window at the bottom, a wide screen; 0 failed"
