#!/bin/sh
# Installs what is missing, builds the program and starts it from the build folder.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target imu_tool
cd build
exec ./imu_tool
