#!/usr/bin/env bash
# Builds and runs the benchmark programs (figures, not tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
for programa in build/bench/*_bench; do
  [ -x "$programa" ] && "$programa" "$@"
done
