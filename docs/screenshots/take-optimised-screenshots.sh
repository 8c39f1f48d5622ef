#!/usr/bin/env bash
# The optimised mode on the bundled sample, on a 1280 x 900 virtual screen: the exact mode at
# penalty 50 in the explore panel, then the optimised mode aimed at the same file's bit rate,
# then both approximations side by side in the compare view; once in Chinese and once with
# --lang en. Needs a built `zantrel` and the packages of take-screenshots.sh.
#   docs/screenshots/take-optimised-screenshots.sh [path/to/zantrel]
set -euo pipefail
cd "$(dirname "$0")/../.."
app="${1:-build/release/app/zantrel}"
out=docs/screenshots
source docs/screenshots/start-app.sh

shoot() {
    local suffix=$1
    shift
    start_app 1280x900 :79 samples/astronaut.bmp "$@"
    xdotool key alt+e Right                                # 编辑, then 图象处理 beside it
    sleep 0.8
    xdotool key Down Return                                # 图像灰度化
    sleep 1
    xdotool key alt+v
    sleep 0.8
    xdotool key Down Down Return                           # 探索
    sleep 6
    xdotool mousemove --window "$window" 1220 174 click --repeat 3 1   # the penalty box
    xdotool type 50
    xdotool key Return
    sleep 3
    xdotool mousemove --window "$window" 1147 117 click 1  # the mode
    sleep 0.8
    xdotool key Down Return                                # 率失真优化
    sleep 4
    xdotool mousemove --window "$window" 1147 145 click 1  # what the slider sets
    sleep 0.8
    xdotool key Down Return                                # 比特率
    sleep 1
    xdotool mousemove --window "$window" 1220 174 click --repeat 3 1   # the rate box
    xdotool type 0.133                                     # the exact mode's file at 50
    xdotool key Return
    sleep 12                                               # the run and the curve
    import -window root "$out/optimised$suffix.png"
    xdotool key ctrl+t                                     # 对比
    sleep 2
    import -window root "$out/compare-modes$suffix.png"
    kill "$app_pid" "$wm" "$xvfb" 2>/dev/null || true
    wait "$app_pid" "$wm" "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}

shoot ""
shoot "-english" --lang en
