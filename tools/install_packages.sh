#!/usr/bin/env bash
# Installs the Debian 12 packages Tallymere needs; skips apt when all are present.
# Usage: tools/install_packages.sh [run|package|test]
set -euo pipefail

packages=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev libgl-dev libtag1-dev
          zlib1g-dev libcli11-dev nlohmann-json3-dev xdg-utils shared-mime-info)
mode=${1:-run}
# Packing computes the programs' library dependencies, which asks `file`.
if [[ "$mode" == "package" || "$mode" == "test" ]]; then
  packages+=(file)
fi
if [[ "$mode" == "test" ]]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth dbus-daemon
             fonts-dejavu-core clang-format
             desktop-file-utils appstream man-db locales)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

# The date tests write and read dates under these locales; a test never
# skips for a missing one.
if [[ "$mode" == "test" ]]; then
  test_locales=(en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8)
  installed=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]')
  generate=()
  for wanted in "${test_locales[@]}"; do
    short=$(echo "${wanted/UTF-8/utf8}" | tr '[:upper:]' '[:lower:]')
    grep -qx "$short" <<<"$installed" || generate+=("$wanted")
  done
  if ((${#generate[@]})); then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    echo "Generating locales: ${generate[*]}"
    for wanted in "${generate[@]}"; do
      if grep -q "^# *$wanted UTF-8" /etc/locale.gen; then
        "${sudo_cmd[@]}" sed -i "s/^# *\($wanted UTF-8\)/\1/" /etc/locale.gen
      elif ! grep -q "^$wanted UTF-8" /etc/locale.gen; then
        echo "$wanted UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
      fi
    done
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
fi
