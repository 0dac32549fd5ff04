#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole suite, then checks an
# install of the build (scripts/prueba-instalacion.sh); non-zero on any failure.
# In CI (CI=true), or with ORV_SANITIZE=1, the suite runs a second time built
# with AddressSanitizer and UndefinedBehaviorSanitizer; in CI every fuzz
# target then runs for 30 s (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
trabajos=$(nproc 2>/dev/null || echo 2)

scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build -j "$trabajos" --output-on-failure
# The installed program and module, and the Debian package, from this build.
scripts/prueba-instalacion.sh build

if [ "${CI:-}" = "true" ] || [ "${ORV_SANITIZE:-0}" = "1" ]; then
  scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DORV_SANITIZE=ON -DORV_PYTHON=OFF
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -j "$trabajos" --output-on-failure
fi
if [ "${CI:-}" = "true" ]; then
  # Every fuzz target briefly, on a copy of its seeds (about 4 minutes).
  scripts/fuzz.sh 30
fi
