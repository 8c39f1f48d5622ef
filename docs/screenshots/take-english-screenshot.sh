#!/usr/bin/env bash
# The English interface (zantrel --lang en) as explore.png shows the Chinese one: the bundled
# sample's gray picture with the explore panel, its curve computed, penalty 50 typed into it.
# Needs a built `zantrel` and the packages of take-screenshots.sh.
#   docs/screenshots/take-english-screenshot.sh [path/to/zantrel]
set -euo pipefail
cd "$(dirname "$0")/../.."
app="${1:-build/release/app/zantrel}"
source docs/screenshots/start-app.sh
start_app 1280x900 :79 --lang en samples/astronaut.bmp

xdotool key alt+e Right                                # Edit, then Picture beside it
sleep 0.8
xdotool key Down Return                                # Convert to Gray
sleep 1
xdotool key alt+v                                      # View, its first item highlighted
sleep 0.8
xdotool key Down Down Return                           # Explore
sleep 6                                                # the curve
xdotool mousemove --window "$window" 1220 174 click --repeat 3 1   # the penalty box
xdotool type 50
xdotool key Return
sleep 3
import -window root docs/screenshots/english.png
