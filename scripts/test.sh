#!/bin/sh
# Installs what is missing, builds everything and runs every test with CTest.
#   JOBS  parallel build jobs and tests (default: every core)
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
launcher=""
if command -v ccache >/dev/null 2>&1; then
  launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
jobs="${JOBS:-$(nproc)}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $launcher
cmake --build build -j "$jobs"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" --timeout 600
