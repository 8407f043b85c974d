#!/usr/bin/env bash
# Installs the Debian packages that building and testing Taviro need, when
# any of them is missing. Safe to run again; does nothing when all are there.
set -euo pipefail

packages=(
  # tool chain
  build-essential cmake ninja-build pkg-config git
  # the fuzz targets: clang with libFuzzer and its sanitizer runtimes, and
  # llvm-cov with llvm-profdata for their coverage
  clang libclang-rt-14-dev llvm
  # the lint gate
  clang-format clang-tidy
  # core and tests
  libgtest-dev libgmock-dev libbenchmark-dev
  # the program's own service, and the clips of its sample library
  libcpp-httplib-dev nlohmann-json3-dev ffmpeg
  # the service's library of the user's own media: its index, probes and poster frames
  libsqlite3-dev libswscale-dev
  # system adapters (D-Bus, logind, HTTP) and the private bus the tests start
  libglib2.0-dev dbus-daemon libcurl4-openssl-dev
  # the desktop program
  libgtk-3-dev libwebkit2gtk-4.1-dev libnotify-dev libmpv-dev libepoxy-dev fonts-wqy-microhei
  # the tray icon's menu on StatusNotifier panels
  libdbusmenu-glib-dev libdbusmenu-gtk3-dev
  # the helper's remuxing and decryption of HLS programmes (libmpv-dev
  # brings them; named, since the helper uses them itself)
  libavformat-dev libavcodec-dev libavutil-dev
  # frames put on an X display through shared memory
  libx11-dev libxext-dev
  # tests that run the program on a virtual display (python3-gi and GTK's
  # bindings for the drag-and-drop source)
  xvfb xauth xdotool imagemagick python3 python3-pyatspi at-spi2-core python3-gi gir1.2-gtk-3.0
  # xprop, for a window's hints
  x11-utils
  # the stream tests' certificate authority, and the system store it stands in for
  openssl ca-certificates
  # the desktop entry and metainfo checks, and the Debian package with
  # Debian's own check of it
  desktop-file-utils appstream dpkg-dev lintian
  # the media controls as a desktop's own client drives them
  playerctl
  # a notification area on the virtual display, for the tray icon's test
  trayer
  # the catalogues of the program's texts, and the locales the language
  # tests run under
  gettext locales
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

# The locales the tests start the program under.
missing_locales=()
for locale in en_US zh_CN zh_TW; do
  if ! locale -a 2>/dev/null | grep -qix "${locale}.utf-\?8"; then
    missing_locales+=("$locale")
  fi
done

if ((${#missing[@]} == 0 && ${#missing_locales[@]} == 0)); then
  exit 0
fi

# Root installs directly (a container or a minimal machine has no sudo);
# anybody else asks sudo for this step only.
as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "These Debian packages or locales are missing: ${missing[*]} ${missing_locales[*]}" >&2
    echo "Install them as root (apt-get install ...), or install sudo, then run this again." >&2
    exit 1
  fi
  as_root=(sudo)
fi
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
for locale in "${missing_locales[@]}"; do
  "${as_root[@]}" localedef -i "$locale" -f UTF-8 "${locale}.UTF-8"
done
