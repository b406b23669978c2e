#!/usr/bin/env bash
# Shows the real window on a virtual screen, opens a parameter file through the file menu and
# its dialog, presses the filter button and saves a screenshot; then the same for the Win32
# window of habuki-gui.exe under wine, which opens the file named on its command line.
#   scripts/screenshot.sh [PARAMETER-FILE [PNG [WINDOWS-PNG]]]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
# The default preset builds the tests and benchmarks too, so it needs their packages.
habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_QT_PACKAGES[@]}" \
  "${HABUKI_TEST_PACKAGES[@]}" "${HABUKI_WINDOWS_PACKAGES[@]}" xvfb xauth xdotool imagemagick

file=$(realpath "${1:-tests/data/machining-center-30i.txt}")
png=${2:-packaging/screenshots/habuki-gui.png}
windows_png=${3:-packaging/screenshots/habuki-gui-windows.png}

# Starts a virtual screen of 800 by 600 pixels at 96 dots per inch; sets DISPLAY.
start_screen() {
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 800x600x24 -dpi 96 >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  sleep 1
}

qt_screenshot() {
  cmake --preset default >/dev/null
  cmake --build --preset default --target habuki-gui >/dev/null
  start_screen
  trap 'kill $gui $xvfb 2>/dev/null || true' EXIT
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  build/default/ui/habuki-gui 2>/dev/null &
  gui=$!
  window=$(xdotool search --sync --name "Ver[0-9]" | head -n 1)
  sleep 1

  # Places at 96 dots per inch: the file menu, its open item, and the filter button, whose
  # centre lies (3960 + 2175/2, 4800 + 615/2) twips into the client area, below the menu bar.
  height=$(xdotool getwindowgeometry "$window" |
    awk '/Geometry/ { split($2, size, "x"); print size[2] }')
  menu_bar=$((height - 369))
  xdotool mousemove --window "$window" 20 $((menu_bar / 2)) click 1
  sleep 0.5
  xdotool mousemove --window "$window" 45 $((menu_bar + 10)) click 1
  sleep 1
  xdotool type --delay 5 "$file"
  xdotool key Return
  sleep 1
  xdotool mousemove --window "$window" 336 $((menu_bar + 340)) click 1
  sleep 1

  mkdir -p "$(dirname "$png")"
  import -window "$window" "$png"
  echo "screenshot: $png"
  kill $gui $xvfb 2>/dev/null || true
  trap - EXIT
}

# Under wine's own desktop, which draws the window's frame and title as Windows would; the
# wine prefix, with its Japanese fonts, is the one the window's smoke test uses.
windows_screenshot() {
  scripts/windows-xlsxwriter-source.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target habuki-gui >/dev/null
  export WINEPREFIX=$PWD/build/windows/tests/windows/window-prefix WINEDEBUG=-all
  start_screen
  trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null || true' EXIT
  tests/windows/window-prefix.sh wine
  wine explorer /desktop=habuki,600x500 build/windows/ui/win32/habuki-gui.exe "Z:$file" \
    >/dev/null 2>&1 &
  desktop=$(xdotool search --sync --name "Wine desktop" | head -n 1)
  sleep 5
  # The filter button has the focus: Space clicks it.
  xdotool windowfocus "$desktop" key space
  sleep 3

  # The desktop around the window goes: it is of one colour, which a border of it lets -trim
  # take away.
  local shot
  shot=$(mktemp --suffix=.png)
  import -window "$desktop" "$shot"
  local colour
  colour=$(convert "$shot" -format '%[pixel:p{599,499}]' info:)
  mkdir -p "$(dirname "$windows_png")"
  convert "$shot" -bordercolor "$colour" -border 1 -trim +repage "$windows_png"
  rm -f "$shot"
  echo "screenshot: $windows_png"
  wineserver -k 2>/dev/null || true
  kill $xvfb 2>/dev/null || true
  trap - EXIT
}

qt_screenshot
windows_screenshot
