#!/bin/sh
# Installs what is missing, builds everything and runs every test with CTest, then builds the
# frame parser's fuzz target with clang and runs it from its seed corpus.
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
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" --timeout 600)

# The fuzz target under AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder of its
# own: a fixed number of inputs with a fixed seed, so every run tries the same inputs (about
# half a minute on two cores); any report fails the script. New inputs go to a scratch folder.
CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo $launcher
cmake --build build-fuzz -j "$jobs"
rm -rf build-fuzz/corpus
mkdir build-fuzz/corpus
./build-fuzz/fuzz_frame_parser -seed=1 -runs=6000 -artifact_prefix=build-fuzz/ build-fuzz/corpus fuzz/corpus
