#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into its own folder
# ("build-asan", or the first argument) and runs every test with CTest. Any sanitizer report
# ends the reporting test with a failure.
# JOBS sets the build and test parallelism (default 3).
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD_DIR="${1:-build-asan}"
JOBS="${JOBS:-3}"
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
  LAUNCHER="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi
SAN="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo $LAUNCHER \
  -DCMAKE_C_FLAGS="$SAN" -DCMAKE_CXX_FLAGS="$SAN" \
  -DCMAKE_EXE_LINKER_FLAGS="$SAN" -DCMAKE_SHARED_LINKER_FLAGS="$SAN"
cmake --build "$BUILD_DIR" -j "$JOBS"
cd "$BUILD_DIR"
# Leak reports are left out: Qt's plugins and fonts keep caches until exit by design.
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
QT_QPA_PLATFORM=offscreen \
  ctest --output-on-failure -j "$JOBS" --timeout 1200
