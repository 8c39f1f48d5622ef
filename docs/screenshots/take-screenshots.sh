#!/usr/bin/env bash
# Walks the whole pipeline on the bundled sample with the menus, as a user would, on a virtual
# screen, and takes the README's screenshots. Needs a built `zantrel` and the Debian packages
# xvfb, openbox (for title bars), xdotool and imagemagick.
#   docs/screenshots/take-screenshots.sh [path/to/zantrel]
# Menu positions are measured for the fonts the set-up installs (fonts-wqy-microhei).
set -euo pipefail
cd "$(dirname "$0")/../.."
app="${1:-build/release/app/zantrel}"
out=docs/screenshots
source docs/screenshots/start-app.sh
start_app 1024x768 :77 samples/astronaut.bmp

# Coordinates inside the main window: the picture menu's title and its items.
menu() { xdotool mousemove --window "$window" 144 8 click 1; sleep 0.8; }
item() {
    menu
    xdotool mousemove --window "$window" 176 "$1" click 1
    sleep "${2:-1.5}"
}
# A screenshot of the whole screen, cropped to the window's upper part.
shot() { import -window root -crop 800x640+0+0 +repage "$out/$1.png"; }
# The window with the picture menu open, showing which commands the mode offers.
shot_with_menu() { menu; shot "$1"; xdotool key Escape; sleep 0.5; }

shot_with_menu mode1-color
item 53                            # 图像灰度化
shot_with_menu mode2-gray
item 77                            # 四叉树分解: the parameter dialog
shot parameter-dialog
xdotool key Return
sleep 2
shot_with_menu mode3-quadtree
item 99                            # 灰度网格图
shot_with_menu mode4-gray-grid
item 123 25                        # Zantrel分解图: the cut-line search takes a while
shot_with_menu mode5-zantrel
item 145                           # 网格Zantrel线
shot_with_menu mode6-grid-lines
item 191                           # 图像比特率
shot bit-rate
xdotool key Return
sleep 0.5

# The compare view: the approximation beside its error picture.
xdotool key ctrl+t
sleep 1.5
import -window root "$out/compare.png"
xdotool key ctrl+t
sleep 0.5

# Again with blocks of at least 8, zoomed to 16 about a point of the face, so that about
# 4 x 4 blocks and their cut lines fill the shot; the pointer rests on a cut block.
item 29                            # 原彩色图像
item 53                            # 图像灰度化
item 77                            # 四叉树分解
xdotool key Tab Tab
xdotool type 8
xdotool key Return
sleep 2
item 123 25                        # Zantrel分解图
item 145                           # 网格Zantrel线
xdotool mousemove --window "$window" 420 200
for _ in 1 2 3 4; do
    xdotool keydown ctrl click 4 keyup ctrl
    sleep 0.3
done
xdotool mousemove --window "$window" 156 200
sleep 1
import -window root -crop 600x768+0+0 +repage "$out/zoom-cut-lines.png"
