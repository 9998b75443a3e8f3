#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need, when missing.
# MTB_QT_MAJOR=6 installs Qt 6 instead of Qt 5. Arguments name more packages to install.
set -eu
case "${MTB_QT_MAJOR:-5}" in
    5) qt="qtbase5-dev qtbase5-private-dev libqt5svg5-dev libqt5x11extras5-dev qtwayland5" ;;
    6) qt="qt6-base-dev qt6-base-private-dev qt6-svg-dev qt6-wayland" ;;
    *) echo "MTB_QT_MAJOR must be 5 or 6" >&2; exit 1 ;;
esac
packages="build-essential cmake $qt libxcb1-dev libxcb-xinput-dev libgtest-dev
libbenchmark-dev xvfb xauth xcompmgr x11-utils xdotool imagemagick binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
fonts-dejavu-core weston libweston-10-dev libwayland-dev pkg-config $*"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
