#!/usr/bin/env bash
# Renders the program's windows to PNG offscreen, for review by eye:
# capturas.sh [folder] [density], by default capturas/ at density 2. Writes the
# main window with the affine and analyser laboratories open (principal.png),
# each laboratory alone (afin.png, analizador.png), the About window
# (acercade.png) and the artwork sheet (arte.png).
set -euo pipefail
cd "$(dirname "$0")/.."
salida=${1:-capturas}
densidad=${2:-2}
dir=${ORV_BUILD:-build}
scripts/deps.sh
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPython3_EXECUTABLE="$(command -v python3)"
fi
cmake --build "$dir" --target orv_capturas
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$dir/galeria/orv_capturas" "$salida" "$densidad"
