#!/usr/bin/env bash
# Configures (once) and builds one build directory: build.sh <dir> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
if [ ! -f "$dir/build.ninja" ]; then
  # The interpreter the module is built for is the one `python3` runs.
  cmake -S . -B "$dir" -G Ninja -DPython3_EXECUTABLE="$(command -v python3)" "$@"
fi
cmake --build "$dir"
