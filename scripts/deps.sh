#!/usr/bin/env bash
# Installs, with apt-get, whatever Quillmore needs to build, run and test that is not yet present.
# Quiet and quick when everything is already installed.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    libwxgtk3.2-dev libglu1-mesa-dev libgl-dev
    xvfb xauth fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    locales
    libcairo2-dev poppler-utils
    desktop-file-utils shared-mime-info xdg-utils
    gettext wx3.2-i18n
    xdotool
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The file tests run once under a locale that writes decimal commas.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    if [ -f /etc/locale.gen ]; then
        sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
        grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
        locale-gen >/dev/null 2>&1 || true
    fi
fi
