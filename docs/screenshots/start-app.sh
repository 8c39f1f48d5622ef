# Sourced by the screenshot scripts: starts a virtual screen of size $1 (e.g. 1024x768) on
# display $2 with a window manager (for title bars), then `zantrel` ($app) with the remaining
# arguments, and waits for its main window, whose id it leaves in $window. Everything started
# is stopped, and the scratch home folder removed, when the script exits.
start_app() {
    local size=$1 display=$2
    shift 2
    home=$(mktemp -d)
    Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp &
    xvfb=$!
    export DISPLAY=$display HOME=$home
    trap 'kill "$app_pid" "$wm" "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT
    sleep 1
    openbox &
    wm=$!
    sleep 1
    "$app" "$@" &
    app_pid=$!
    window=$(xdotool search --sync --name 'astronaut.bmp')
    sleep 2
}
