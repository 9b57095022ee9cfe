#!/bin/sh
# Installs what building and testing Tavlo needs on Debian (run as root). Safe to run again.
set -e
PACKAGES="cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
 wine wine64 xvfb xdotool x11-utils x11-xserver-utils locales fonts-noto-cjk imagemagick
 python3-pytest openssl ca-certificates zip nsis iproute2
 gstreamer1.0-plugins-base gstreamer1.0-plugins-good"
missing=""
for p in $PACKAGES; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends $missing
fi
# Wine needs the Japanese locale to run with the ANSI code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
