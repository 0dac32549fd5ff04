#!/usr/bin/env bash
# Builds build-fuzz/ (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every fuzz target of fuzz/ for the given
# number of seconds each (default 30), one after another, each on a copy of its
# seed corpus (fuzz/corpus/<objetivo>/) in a temporary folder, so the
# repository's corpus never grows. Non-zero when any target finds a crash, a
# leak, undefined behaviour, an escaped exception, a timeout or a blow-up of
# memory; the input that did it is kept in build-fuzz/hallazgos/.
#   fuzz.sh [segundos] [objetivo...]
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-30}
shift || true
scripts/deps.sh

if [ ! -f build-fuzz/build.ninja ]; then
  lanzador=()
  command -v ccache >/dev/null && lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DORV_FUZZ=ON -DORV_GUI=OFF -DORV_PYTHON=OFF "${lanzador[@]}"
fi
cmake --build build-fuzz --target fuzz_objetivos

objetivos=("$@")
if [ ${#objetivos[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do
    b=$(basename "$f" _fuzz.cpp)
    objetivos+=("$b")
  done
fi

# Per-target limits: the longest input worth trying and the time one input may take.
declare -A maximo=([expresion]=1024 [etiqueta]=4096 [perfil]=8192 [matriz]=200 [lectura]=8192
                   [cabecera]=8192 [claves]=8192)

if command -v llvm-symbolizer-14 >/dev/null; then
  export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer-14)}
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
hallazgos=$PWD/build-fuzz/hallazgos
mkdir -p "$hallazgos"
temporal=$(mktemp -d)
trap 'rm -rf "$temporal"' EXIT

fallos=()
for o in "${objetivos[@]}"; do
  corpus="$temporal/$o"
  mkdir -p "$corpus"
  cp fuzz/corpus/"$o"/* "$corpus"/ 2>/dev/null || true
  echo "== $o: $segundos s"
  # The data folder the workspace object probes is the temporary one.
  if (cd "$temporal" && XDG_CONFIG_HOME="$temporal/config" \
      "$OLDPWD/build-fuzz/fuzz/${o}_fuzz" "$corpus" \
        -max_total_time="$segundos" -max_len="${maximo[$o]:-4096}" -timeout=30 \
        -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="$hallazgos/${o}-" 2>&1 | tail -n 40 >"$temporal/$o.log"; \
      exit "${PIPESTATUS[0]}"); then
    grep -E '^stat::number_of_executed_units|Done' "$temporal/$o.log" || true
  else
    cat "$temporal/$o.log"
    fallos+=("$o")
  fi
done

if [ ${#fallos[@]} -ne 0 ]; then
  echo "Fallan: ${fallos[*]} (entradas en $hallazgos)"
  exit 1
fi
echo "Ningún fallo en: ${objetivos[*]}"
