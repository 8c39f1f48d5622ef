#!/usr/bin/env bash
# The explore panel on the bundled sample, on a 1280 x 900 virtual screen: the gray picture,
# the panel opened from the View menu, its curve computed, then penalty 50 typed into it.
# Needs a built `zantrel` and the packages of take-screenshots.sh.
#   docs/screenshots/take-explore-screenshot.sh [path/to/zantrel]
set -euo pipefail
cd "$(dirname "$0")/../.."
app="${1:-build/release/app/zantrel}"
source docs/screenshots/start-app.sh
start_app 1280x900 :78 samples/astronaut.bmp

xdotool mousemove --window "$window" 144 8 click 1     # 图象处理
sleep 0.8
xdotool mousemove --window "$window" 176 53 click 1    # 图像灰度化
sleep 1
xdotool key alt+v                                      # 查看, its first item highlighted
sleep 0.8
xdotool key Down Down Return                           # 探索
sleep 6                                                # the curve
xdotool mousemove --window "$window" 1220 174 click --repeat 3 1   # the penalty box
xdotool type 50
xdotool key Return
sleep 3
import -window root docs/screenshots/explore.png
