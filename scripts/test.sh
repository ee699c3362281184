#!/bin/sh
# Installs what is missing, builds everything and runs every test with CTest, then builds the
# frame parser's fuzz target with clang and runs it from its seed corpus.
#   JOBS       parallel build jobs (default: every core)
#   TEST_JOBS  tests run at once (default: twice JOBS and two more: most tests wait on their
#              peers, timers and simulated lines rather than use a core)
# Each step starts with a banner and ends with its outcome and duration; the last line says which
# steps passed. Failed tests do not stop the fuzz step (it still runs and tells its own outcome),
# but the script then ends non-zero. A failed install or build ends the script at once.
cd "$(dirname "$0")/.." || exit 1

launcher=""
if command -v ccache >/dev/null 2>&1; then
  launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
jobs="${JOBS:-$(nproc)}"
test_jobs="${TEST_JOBS:-$((jobs * 2 + 2))}"

passed=""
failed=""
notrun=""
start_all=$(date +%s)

# step NAME FUNCTION: runs the function under a banner, then tells its outcome and duration.
step() {
  name=$1
  echo
  echo "==== test.sh: $name: started at $(date '+%H:%M:%S') ===="
  t0=$(date +%s)
  "$2"
  rc=$?
  secs=$(($(date +%s) - t0))
  if [ "$rc" -eq 0 ]; then
    echo "==== test.sh: $name: passed in ${secs} s ===="
    passed="$passed $name"
  else
    echo "==== test.sh: $name: FAILED (exit status $rc) after ${secs} s ===="
    failed="$failed $name"
  fi
  return "$rc"
}

install_step() {
  ./scripts/install-deps.sh
}

build_step() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $launcher &&
    cmake --build build -j "$jobs"
}

tests_step() {
  (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$test_jobs" --timeout 600)
}

# The fuzz target under AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder of its
# own: a fixed number of inputs with a fixed seed, so every run tries the same inputs (about
# half a minute on two cores); any report fails the step. New inputs go to a scratch folder.
fuzz_step() {
  CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo $launcher &&
    cmake --build build-fuzz -j "$jobs" &&
    rm -rf build-fuzz/corpus &&
    mkdir build-fuzz/corpus &&
    ./build-fuzz/fuzz_frame_parser -seed=1 -runs=6000 -artifact_prefix=build-fuzz/ build-fuzz/corpus fuzz/corpus
}

# The last line: what passed, what failed, what did not run.
finish() {
  total=$(($(date +%s) - start_all))
  echo
  if [ -z "$failed" ] && [ -z "$notrun" ]; then
    echo "test.sh: PASSED: every step passed:$passed (${total} s)"
    exit 0
  fi
  echo "test.sh: FAILED:$failed; passed:${passed:- none}${notrun:+; not run:$notrun} (${total} s)"
  exit 1
}

if ! step install install_step; then
  notrun=" build tests fuzz"
  finish
fi
if ! step build build_step; then
  notrun=" tests fuzz"
  finish
fi
if ! step tests tests_step; then
  echo "test.sh: the tests failed (see above); the fuzz step runs all the same"
fi
step fuzz fuzz_step
finish
