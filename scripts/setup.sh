#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, only what is missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-serialport-dev libgl-dev libgtest-dev
          xvfb xauth mbpoll procps)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
