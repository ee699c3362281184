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
echo "Missing packages:$missing"
install="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  # Without root: sudo only if it lets us in without a password (-n never asks for one).
  if command -v sudo >/dev/null 2>&1 && sudo -n true >/dev/null 2>&1; then
    SUDO="sudo -n"
  else
    echo "install-deps.sh: cannot install them: not root, and no sudo without a password." >&2
    echo "Run as root, then run this again:" >&2
    echo "  $install" >&2
    exit 1
  fi
fi
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
