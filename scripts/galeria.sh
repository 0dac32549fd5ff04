#!/usr/bin/env bash
# Builds and runs every gallery program (build/galeria/*), each writing PNG
# images of its controls into the output folder: galeria.sh [folder], by
# default galeria/. Runs on Qt's offscreen platform, so no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
salida=${1:-galeria}
dir=${ORV_BUILD:-build}
scripts/deps.sh
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
mkdir -p "$salida"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
estado=0
for programa in "$dir"/galeria/*; do
  [ -f "$programa" ] && [ -x "$programa" ] || continue
  "$programa" "$salida" || estado=1
done
exit $estado
