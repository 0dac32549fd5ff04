#!/usr/bin/env bash
# Installs what is missing, builds and starts the laboratory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec build/app/ORV "$@"
