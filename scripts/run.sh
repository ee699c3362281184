#!/bin/sh
# Installs what is missing, builds the program, its translation and the simulators, and starts
# the program in its working folder, outside the build tree: the result databases, the logs and
# the settings stay where they are when build/ is removed and rebuilt.
#   KELVANTO_WORK_DIR   the working folder (default ~/.local/share/Kelvanto/Calibration)
#   KELVANTO_CONFIG_DIR the settings folder (default <working folder>/Config)
#   KELVANTO_LANG       en (default) or zh: the program's language, in the same working folder
#   JOBS                parallel build jobs (default: every core)
set -e
cd "$(dirname "$0")/.."
src=$(pwd)
./scripts/install-deps.sh
launcher=""
if command -v ccache >/dev/null 2>&1; then
  launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $launcher
cmake --build build -j "${JOBS:-$(nproc)}" --target imu_tool translations module_sim turntable_sim

work="${KELVANTO_WORK_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/Kelvanto/Calibration}"
mkdir -p "$work"
# The language is chosen by KELVANTO_LANG, which the program reads too: a Chinese start takes
# Chinese.qm beside the program even where an English start has left English.qm.
case "${KELVANTO_LANG:=en}" in
  en)
    # The program loads its English from the working folder.
    for qm in build/translations/English.qm build/English.qm; do
      if [ -f "$qm" ]; then
        cp "$qm" "$work/English.qm"
        break
      fi
    done
    ;;
  zh) ;;
  *)
    echo "KELVANTO_LANG: \"$KELVANTO_LANG\" is neither en nor zh" >&2
    exit 1
    ;;
esac
export KELVANTO_LANG
export KELVANTO_CONFIG_DIR="${KELVANTO_CONFIG_DIR:-$work/Config}"
echo "Working folder: $work (settings: $KELVANTO_CONFIG_DIR, language: $KELVANTO_LANG)"
cd "$work"
exec "$src/build/imu_tool" "$@"
