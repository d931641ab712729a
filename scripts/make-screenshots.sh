#!/usr/bin/env bash
# Makes the manual's screenshots (docs/manual/images/*.png) from the running
# editor on a virtual X display. Reproducible: a fresh settings folder, a fixed
# screen size, widget style and font, fixed window positions, and pictures
# without time stamps.
#
#   scripts/make-screenshots.sh            # build dir: build/
#   QV_BUILD=other-build scripts/make-screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${QV_BUILD:-build}
out=$root/docs/manual/images

if [ -z "${QV_SCREENSHOT_DISPLAY:-}" ]; then
  bash scripts/install-deps.sh xdotool imagemagick
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build "$build" -j2 --target quorvalin vexolant
  mkdir -p "$out"
  # Run this script again inside a virtual display of its own.
  exec xvfb-run -a -s "-screen 0 1400x1100x24 -dpi 96 -wr" \
    env QV_SCREENSHOT_DISPLAY=1 QV_BUILD="$build" bash "$0" "$@"
fi

program=$root/$build/bin/quorvalin
# A fixed folder, since window titles show the paths of the open diagrams.
work=/tmp/quorvalin-manual
exec 9>/tmp/quorvalin-manual.lock
flock -n 9 || { echo "make-screenshots: already running" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"
editor_pid=
cleanup() {
  if [ -n "$editor_pid" ]; then kill "$editor_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A user of its own: default settings, no running editor to hand files to.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_STATE_HOME=$work/state XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE=Fusion
export QT_QPA_PLATFORMTHEME= QT_SCALE_FACTOR=1 QT_AUTO_SCREEN_SCALE_FACTOR=0
export QT_FONT_DPI=96 QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1
# The bundled diagrams are opened from a copy, so nothing can change them.
examples=$work
cp "$root"/examples/*.fgd "$examples/"

pause() { sleep "${1:-0.6}"; }

# The id of the visible top-level window whose title matches $1 (waits up to
# $2 tenths of a second, 15 s by default).
window() {
  local id
  for _ in $(seq 1 "${2:-150}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "make-screenshots: no window \"$1\"" >&2
  return 1
}

# Writes $1.png from the screen area $2 (WxH+X+Y), without time stamps.
grab() {
  import -window root -crop "$2" +repage "$work/shot.png"
  convert "$work/shot.png" -strip -define png:exclude-chunks=date,time "$out/$1.png"
  echo "  $1.png"
}

# Writes $1.png of the window $2.
grab_window() {
  local geometry
  geometry=$(xdotool getwindowgeometry --shell "$2")
  local X Y WIDTH HEIGHT
  eval "$(echo "$geometry" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  grab "$1" "${WIDTH}x${HEIGHT}+${X}+${Y}"
}

# Starts the editor on the given files and places its window at (0, 0), with
# the size $size (1024x768 unless set).
size=1024x768
start_editor() {
  "$program" "$@" >"$work/editor.log" 2>&1 &
  editor_pid=$!
  main=$(window "^Block-diagram editor")
  xdotool windowmove --sync "$main" 0 0 windowsize --sync "$main" "${size%x*}" "${size#*x}"
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  pause 1.5
}

stop_editor() {
  kill "$editor_pid" 2>/dev/null || true
  wait "$editor_pid" 2>/dev/null || true
  editor_pid=
}

key() {
  xdotool key --clearmodifiers "$@"
  pause 0.4
}

# Clicks at (x, y) of the screen with the mouse button $3 (1 by default).
click() {
  xdotool mousemove --sync "$1" "$2" click "${3:-1}"
  pause 0.4
}

close_popups() {
  key Escape
  key Escape
  key Escape
}

echo "make-screenshots: writing $out"


# The geometry WxH+X+Y that covers the menu bar's left part and every open
# pop-up menu of the editor (windows of the program other than $main).
popup_area() {
  local right=0 bottom=0 id X Y WIDTH HEIGHT
  for id in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
    [ "$id" = "$main" ] && continue
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "Block-diagram editor" ] || continue
    eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    [ $((X + WIDTH)) -gt $right ] && right=$((X + WIDTH))
    [ $((Y + HEIGHT)) -gt $bottom ] && bottom=$((Y + HEIGHT))
  done
  echo "$((right + 8))x$((bottom + 8))+0+0"
}

# Waits (up to 5 s) until a menu of the editor is open; fails when none opens.
wait_menu() {
  for _ in $(seq 1 50); do
    [ "$(popup_area)" != "8x8+0+0" ] && { pause 0.3; return 0; }
    sleep 0.1
  done
  return 1
}

# Opens the document's context menu at (x, y); tries twice.
context_menu() {
  local attempt
  for attempt in 1 2; do
    xdotool mousemove --sync "$1" "$2" click 3
    wait_menu && return 0
    xdotool windowfocus "$main" 2>/dev/null || true
    pause 1
  done
  return 0
}

# Presses the keys $@ (opening a menu) and waits for the menu.
menu_keys() {
  xdotool key --clearmodifiers "$@"
  wait_menu || true
}

# Writes $1.png of the open menus with the window around them; $2 is the left
# edge of the area (default 0).
grab_menu() {
  local area left=${2:-0}
  # Wait for the menu to appear (up to 5 s), then for it to be painted.
  for _ in $(seq 1 50); do
    area=$(popup_area)
    [ "$area" != "8x8+0+0" ] && break
    sleep 0.1
  done
  if [ "$area" = "8x8+0+0" ]; then
    echo "  $1.png skipped: no menu opened"
    return 0
  fi
  pause 0.8
  area=$(popup_area)
  local w=${area%%x*} rest=${area#*x}
  local h=${rest%%+*}
  grab "$1" "$((w - left))x${h}+${left}+0"
}

# Sets the scale of the document under (x, y) to 1 (Ctrl+wheel steps it down).
scale_one() {
  xdotool mousemove --sync "$1" "$2"
  for _ in 1 2 3; do
    xdotool keydown ctrl click 5 keyup ctrl
    pause 0.3
  done
}

# Writes $1.png of the dialog window titled $2 (a pattern), then closes it
# with Escape. A dialog that does not appear is reported and skipped.
grab_dialog() {
  local id
  if id=$(window "$2" 40); then
    pause 0.8
    grab_window "$1" "$id"
    # A real key press on the focused dialog: an event sent to the window
    # directly can reach the next pop-up menu instead and close it.
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    key Escape
    # Without a window manager nobody gives the focus back to the main window.
    xdotool windowfocus "$main" 2>/dev/null || true
    pause 1
  else
    echo "  $1.png skipped"
    close_popups
  fi
}

# A point inside a single tiled document window. At scale 1 the diagram
# point (x, y) of that window lies at (x + 4, y + 74) on the screen.
doc_x=500 doc_y=400

# ---- every example on its own, at the scale of a new window (2), cut to the drawing ----
size=1400x1100
for fgd in "$root"/examples/*.fgd; do
  name=$(basename "$fgd" .fgd)
  start_editor "$examples/$name.fgd"
  key alt+w t
  xdotool mousemove 1390 1090
  pause 0.8
  import -window root -crop 1370x940+6+76 +repage "$work/doc.png"
  convert "$work/doc.png" -trim +repage -bordercolor "$(convert "$work/doc.png" -format '%[pixel:p{0,0}]' info:)" \
    -border 12 -strip -define png:exclude-chunks=date,time "$out/example-$name.png"
  echo "  example-$name.png"
  stop_editor
done
size=1024x768

# ---- the main window: two documents side by side, one block selected, the listing ----
start_editor "$examples/gcd.fgd" "$examples/userblock.fgd"
key alt+w t
scale_one 250 400
scale_one 750 400
click 561 33          # the listing button of the Standard toolbar
key alt+w t
pause 0.8
grab main 1024x768+0+0

# ---- the User blocks toolbar and the diagram drawn with user blocks ----
grab userblocks 1024x768+0+0

# ---- menus ----
key alt+f
grab_menu menu-file
key Right
grab_menu menu-edit
key Right
grab_menu menu-view
key Right
grab_menu menu-window
close_popups

# ---- the Special toolbar and its link palette ----
grab special-toolbar 362x30+8+719
xdotool mousemove --sync 300 733 mousedown 1
pause 1.2
xdotool mouseup 1
pause 0.6
area=$(popup_area)
if [ "$area" != "8x8+0+0" ]; then
  pause 0.5
  # From the toolbar's left part down to the palette's lower edge.
  rest=${area#*x}
  bottom=${rest%%+*}
  grab link-palette "200x$((bottom - 640))+230+640"
else
  echo "  link-palette.png skipped"
fi
close_popups
stop_editor

# ---- the document's context menu, the Pascal window and the dialogs ----
# Default settings again: the listing panel shown above would move the document.
rm -rf "$XDG_CONFIG_HOME"
mkdir -p "$XDG_CONFIG_HOME"
start_editor "$examples/loop.fgd"
key alt+w t
scale_one $doc_x $doc_y
click 244 134         # the rectangle "count := 0" (180, 50, 300, 70)
context_menu 244 134
grab_menu menu-context
close_popups

menu_keys alt+f
menu_keys e           # Export
key Down Return       # to Pascal
grab_dialog pascal "^Pascal procedure"

click 244 134
context_menu 244 134
key Up Return         # Properties, the last entry
grab_dialog dialog-block "^Properties of block"

click 244 160         # the link below it
context_menu 244 160
key Up Return
grab_dialog dialog-link "^Properties of link"

key ctrl+a
context_menu 244 134
key Down Down Return  # Align (Align to Grid comes first)
grab_dialog dialog-align "^Align$"
context_menu 244 134
key Down Down Down Return  # Size
grab_dialog dialog-size "^Size$"

key ctrl+f
grab_dialog dialog-find "^Find$"

menu_keys alt+f
key Down Down Down Down Down Return  # Options, after New, Open, Close, Save, Save as
grab_dialog dialog-options "^Options$"

menu_keys alt+f
menu_keys Left                        # the last menu, "?"
key Down Return                       # About, after Contents
grab_dialog dialog-about "^About"

menu_keys alt+f
menu_keys Right Right                 # View
key Up Return                         # User blocks list, the last entry
grab_dialog userblock-list "^List of user blocks"
stop_editor

echo "make-screenshots: done"
