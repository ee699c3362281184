#!/bin/sh
# Installs every Debian package the build, the program and the tests need.
# Does nothing when they are all there already.
set -e
PKGS="build-essential cmake pkg-config
qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev libqt5serialbus5-dev
qtmultimedia5-dev libqt5multimedia5-plugins libqt5sql5-sqlite qttools5-dev qttools5-dev-tools
libqcustomplot-dev libxlsxwriter-dev libcurl4-openssl-dev
libbenchmark-dev clang
python3 python3-pymodbus python3-serial python3-serial-asyncio python3-pyftpdlib python3-openpyxl
poppler-utils sqlite3 xvfb xauth fonts-wqy-microhei"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
