#!/usr/bin/env bash
# Installs the Debian packages Orvane needs, only those that are missing.
set -euo pipefail

paquetes=(
  g++ cmake ninja-build pkg-config
  googletest libgtest-dev
  qt6-base-dev qt6-translations-l10n libgl-dev fonts-dejavu-core
  python3 python3-dev pybind11-dev
  libgmp-dev libflint-dev libecm-dev pari-gp
  dpkg-dev file desktop-file-utils appstream
  clang-14 libclang-rt-14-dev llvm
)

faltan=()
for p in "${paquetes[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    faltan+=("$p")
  fi
done
[ ${#faltan[@]} -eq 0 ] && exit 0

echo "Instalando: ${faltan[*]}"
como=()
[ "$(id -u)" -ne 0 ] && como=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${como[@]}" apt-get update -qq
"${como[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
