#!/usr/bin/env bash
# Shows the real window on a virtual screen, opens a parameter file through the file menu and
# its dialog, presses the filter button and saves a screenshot.
#   scripts/screenshot.sh [PARAMETER-FILE [PNG]]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
# The default preset builds the tests and benchmarks too, so it needs their packages.
habuki_ensure_packages "${HABUKI_BUILD_PACKAGES[@]}" "${HABUKI_WINDOW_PACKAGES[@]}" \
  "${HABUKI_TEST_PACKAGES[@]}" xvfb xauth xdotool imagemagick

file=$(realpath "${1:-tests/data/machining-center-30i.txt}")
png=${2:-packaging/screenshots/habuki-gui.png}
cmake --preset default >/dev/null
cmake --build --preset default --target habuki-gui >/dev/null

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 -dpi 96 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $gui $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
sleep 1
build/default/ui/habuki-gui 2>/dev/null &
gui=$!
window=$(xdotool search --sync --name "Ver[0-9]" | head -n 1)
sleep 1

# Places at 96 dots per inch: the file menu, its open item, and the filter button, whose
# centre lies (3960 + 2175/2, 4800 + 615/2) twips into the client area, below the menu bar.
height=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, size, "x"); print size[2] }')
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
