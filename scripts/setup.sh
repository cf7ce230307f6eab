#!/usr/bin/env bash
# Installs what building and testing Postpone needs on Debian, as root. Safe to
# run again: it installs only what is missing and never prompts.
set -euo pipefail

packages=(cmake make g++ python3 libgtest-dev g++-mingw-w64-i686 wine wine32:i386 wine64 xvfb xdotool
          clang-14 libclang-rt-14-dev python3-yaml)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
    echo "setup.sh: run as root to install packages" >&2
    exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
