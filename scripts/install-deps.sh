#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Does nothing when every package is already there, so `make run` stays quick.
set -euo pipefail

packages=(
  g++ cmake ninja-build make
  qt6-base-dev qt6-base-dev-tools libqscintilla2-qt6-dev qt6-translations-l10n
  libgtest-dev libgl1-mesa-dev libxkbcommon-dev
  breeze-icon-theme libqt6svg6
  fontconfig fonts-urw-base35 xvfb xauth imagemagick librsvg2-bin desktop-file-utils man-db
  time
  acl libglib2.0-bin shared-mime-info
  clang-format clang-tidy
)

# `--fuzz` adds clang and its libFuzzer runtime, for `make fuzz` only.
[ "${1:-}" = "--fuzz" ] && packages+=(clang libclang-rt-14-dev)
# `--kill` adds xdotool, which types into the real window, for `make test-kill` only.
[ "${1:-}" = "--kill" ] && packages+=(xdotool)
# `--bench` adds a window manager, xdotool and Geany, for the window rows of `make bench`.
[ "${1:-}" = "--bench" ] && packages+=(openbox xdotool geany python3)
# `--deb` adds Debian's packaging tools and checkers, for `make deb` and `make test-deb`.
[ "${1:-}" = "--deb" ] && packages+=(debhelper dpkg-dev lintian appstream)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
