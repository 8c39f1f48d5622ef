#!/usr/bin/env bash
# Sets Zantrel up on a Debian machine and runs it:
#   ./setup.sh run    install what is missing, build the two programs (Release), run the main
#                     job on the sample
#   ./setup.sh test   install what is missing, build everything, run every test
# Packages are installed with apt-get, as root or through sudo.
set -euo pipefail
cd "$(dirname "$0")"

mode="${1:-run}"
packages=(
    # engine, zantrel-cli, tests and benchmark
    build-essential cmake pkg-config git
    libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
    # the messages' translation: lupdate and lrelease with their CMake support
    qt6-tools-dev qt6-l10n-tools
    # desktop application
    qt6-base-dev qt6-translations-l10n fonts-wqy-microhei xvfb xauth
    # the MIME type of Zantrel files, compiled in a test as file managers compile it
    shared-mime-info
    # the print test renders the printed page
    poppler-utils
    # picture import: the TIFF and WebP readers (PNG, JPEG, GIF, BMP, PNM come with Qt's GUI module)
    qt6-image-formats-plugins
    # the codecs Zantrel's file is compared with
    libturbojpeg0-dev libopenjp2-7-dev libwebp-dev libavif-dev libjxl-dev
    # real-file tests, fuzzing and sanitizers
    imagemagick python3-pil clang libclang-rt-14-dev llvm
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    "${as_root[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# CI builds treat warnings as errors; a developer's build is plain Release.
preset=release
[ "${CI:-}" = "true" ] && preset=ci

# Every target, or only those named (the main job needs the two programs, not the tests).
build() {
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}"
}

case "$mode" in
    run)
        install_missing
        build zantrel zantrel-cli
        # The desktop application where there is a screen; zantrel-cli everywhere else.
        if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "build/$preset/app/zantrel" ]; then
            exec "build/$preset/app/zantrel" samples/astronaut.bmp
        fi
        echo "No display is available: running zantrel-cli on the sample instead of the desktop application."
        "build/$preset/cli/zantrel-cli" --output build/ZantPic.bmp samples/astronaut.bmp
        echo "The approximation was written to build/ZantPic.bmp"
        ;;
    test)
        install_missing
        build
        ctest --preset "$preset" -j "$(nproc)"
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
