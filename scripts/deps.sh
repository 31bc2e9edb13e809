#!/usr/bin/env bash
# Installs what building, running and testing Velomira needs on Debian 12, only when it is missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins
    # Qt's platform plug-in for Wayland desktops (GNOME, Plasma), where Qt picks it by itself.
    qt6-wayland
    libgif-dev libimagequant-dev libpugixml-dev libspdlog-dev libgtest-dev libxcb1-dev
    # libjpeg decodes JPEG files directly and libdeflate compresses PNG files on every core (zlib joins
    # the bands and stands in when libdeflate fails); the tests read those files back with libpng too.
    libjpeg62-turbo-dev libdeflate-dev zlib1g-dev libpng-dev
    fonts-dejavu-core poppler-utils
    dpkg-dev desktop-file-utils appstream-util shared-mime-info
    # The faces the template library's greetings are written in, and Liberation Sans for "Arial".
    fonts-liberation2 fonts-dancingscript fonts-lobster fonts-kaushanscript fonts-ebgaramond
    clang libfuzzer-14-dev
    # The scenario test under a real Wayland compositor: weston inside Xvfb, driven by xdotool and
    # photographed by ImageMagick's import.
    weston xvfb xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
