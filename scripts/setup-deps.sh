#!/usr/bin/env bash
# Installs the Debian 12 packages that building and running need, when missing; with "test", also
# those the tests need. Needs root, or sudo for a normal user.
#
#   bash scripts/setup-deps.sh          # build and run the program
#   bash scripts/setup-deps.sh test     # ... and run every test
set -euo pipefail

PACKAGES=(
    # the compiler and the build tools
    cmake ninja-build g++ pkg-config
    # Qt 6 (widgets, printing, SVG pictures), and its Italian translation, which the program
    # folder carries beside the executable
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-translations-l10n
    # the .xlsx workbook of the exports
    libxlsxwriter-dev
    # fonts with the measures of those the screens and printouts name (Arial, Courier New...)
    fonts-liberation2 fonts-dejavu-core
)
if [ "${1:-}" = test ]; then
    PACKAGES+=(
        # PDF text and page checks of the printouts; a private print server with a PDF queue
        poppler-utils cups cups-filters
        # the end-to-end tests: an X server, a window manager, synthetic input, the accessibility
        # bus through which they find the controls on screen, and screenshots of failures
        xvfb xauth openbox xdotool x11-utils imagemagick dbus at-spi2-core python3-pyatspi
        # the packages: the checkers of the menu entry and of the AppStream metainfo, the
        # library dependencies of the .deb (dpkg-shlibdeps), and a clean Debian root to
        # install the .deb into
        desktop-file-utils appstream dpkg-dev debootstrap
        # the formatting check against the project's .clang-format
        clang-format
        # LibreOffice, headless, reads the exported .xlsx back
        libreoffice-calc-nogui
    )
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Root or sudo is needed to install: ${missing[*]}" >&2; exit 1; }
    SUDO=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
