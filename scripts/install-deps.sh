#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Quarrow need, when they
# are missing. This list is the only place that names them.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config ccache
    # image files
    libpng-dev libjpeg-dev zlib1g-dev
    # window, input, display, clipboard and message boxes
    libsdl2-dev
    # system fonts
    libfreetype-dev libfontconfig-dev fonts-dejavu-core
    # sound device, Ogg Vorbis, tracker-module music
    libsdl2-dev libvorbis-dev libopenmpt-dev
    # tests and benchmarks (pixman only for comparing blit speed, never linked into the game)
    libgtest-dev libbenchmark-dev libpixman-1-dev
    # game data: pictures written as SVG by Python scripts and rendered by rsvg-convert; sound
    # effects rendered with sox and oggenc; songs and levels written by Python scripts
    python3 librsvg2-bin sox vorbis-tools
    # fuzzing (libFuzzer)
    clang libclang-rt-14-dev
    # the format check of the test suite
    clang-format
    # end-to-end tests: the real game in a virtual X display, driven by synthetic input,
    # with screenshots compared and converted
    xvfb xdotool imagemagick
    # the install check: validators of the menu entry, the AppStream metainfo and the manual
    # page; dpkg-dev and fakeroot for the Debian package that cpack makes
    desktop-file-utils appstream mandoc dpkg-dev fakeroot
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
fi
