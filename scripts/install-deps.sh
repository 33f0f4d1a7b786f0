#!/usr/bin/env bash
# Installs, with apt-get, exactly the Debian 12 packages that are missing for building and testing Quillon.
# Idempotent: when everything is there it prints nothing and touches nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format clang-tidy libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
  nlohmann-json3-dev libcli11-dev libmodbus-dev
  xvfb xauth x11-utils poppler-utils xdotool openbox
  help2man desktop-file-utils appstream shared-mime-info dpkg-dev fakeroot file lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
