#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack -G DEB` make of a build, on its own:
# prueba-instalacion.sh [build folder]. Installs into a temporary prefix and
# checks that exactly the expected files are there, that the desktop entry and
# the AppStream metadata are valid, that the program starts offscreen and the
# Python module imports with the installed libraries only (nothing from the
# build tree) and factors with the installed worker helper, that a read-only program folder sends the data files to the
# user's folder, and that the Debian package names its runtime packages.
# One line when all is well; the reason, and a non-zero status, otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(realpath "${1:-build}")
fuentes=$PWD

tmp=$(mktemp -d /tmp/orv-instalacion.XXXXXX)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
falla() {
  echo "prueba de instalación: FALLO: $*" >&2
  exit 1
}
# Runs a command with its output kept aside, shown only when it fails.
calla() {
  local nombre=$1
  shift
  "$@" >"$tmp/$nombre.log" 2>&1 || { cat "$tmp/$nombre.log" >&2; falla "$nombre"; }
}
cache() { sed -n "s/^$1:[A-Z]*=//p" "$dir/CMakeCache.txt"; }

prefijo=$tmp/usr
libdir=$(cache ORV_INSTALL_LIBDIR)
pydir=$(cache ORV_INSTALL_PYTHONDIR)
[ -n "$libdir" ] && [ -n "$pydir" ] || falla "$dir no es una compilación configurada del proyecto"
calla "cmake --install" cmake --install "$dir" --prefix "$prefijo"

# Exactly these files: no headers, tests, benches or galleries.
bibliotecas=(Kestrin Tarnel Numbrel Halvard Linkmere Pemmick Vimbar Plankett Hookwell
             Resizer Vitrel Framer Rejilla)
{
  echo bin/ORV
  for b in "${bibliotecas[@]}"; do echo "$libdir/lib$b.so"; done
  echo "$libdir/numbrel-trabajador"
  # The language statistics, beside the library that reads them.
  echo "$libdir/es.estadisticas"
  echo share/applications/io.github.orvane.ORV.desktop
  echo share/metainfo/io.github.orvane.ORV.metainfo.xml
  for lado in 16 24 32 48 64 128 256; do echo "share/icons/hicolor/${lado}x$lado/apps/orvane.png"; done
} | sort >"$tmp/esperados"
(cd "$prefijo" && find . -type f -printf '%P\n' | grep -v "^$pydir/orvane\.[^/]*\.so$" | sort) \
  >"$tmp/instalados"
diff -u "$tmp/esperados" "$tmp/instalados" >&2 || falla "la instalación no tiene los ficheros esperados"
modulo=$(find "$prefijo/$pydir" -maxdepth 1 -name 'orvane.*.so')
[ -n "$modulo" ] || falla "falta el módulo de Python en $pydir"

calla desktop-file-validate desktop-file-validate --no-hints \
  "$prefijo/share/applications/io.github.orvane.ORV.desktop"
calla "appstreamcli validate" appstreamcli validate --no-net \
  "$prefijo/share/metainfo/io.github.orvane.ORV.metainfo.xml"

# Every library of the project from the prefix, and nothing missing.
for binario in "$prefijo/bin/ORV" "$modulo"; do
  env -u LD_LIBRARY_PATH ldd "$binario" >"$tmp/ldd" || falla "ldd $binario"
  if grep -q 'not found' "$tmp/ldd"; then cat "$tmp/ldd" >&2; falla "bibliotecas sin encontrar"; fi
  if grep -Eq "=> ($fuentes|$dir)/" "$tmp/ldd"; then
    cat "$tmp/ldd" >&2
    falla "$(basename "$binario") carga bibliotecas del árbol de compilación"
  fi
done
for b in "${bibliotecas[@]}"; do
  grep -Eq "lib$b\.so => $prefijo/.*/lib$b\.so" < <(env -u LD_LIBRARY_PATH ldd "$prefijo/bin/ORV") ||
    falla "ORV no carga lib$b.so de la instalación"
done

# The program starts and exits by itself; its writable folder holds its data.
arranca() {
  env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$@" timeout 60 "$prefijo/bin/ORV" \
    --prueba-arranque 2>"$tmp/arranque.err" || { cat "$tmp/arranque.err" >&2; falla "ORV no arranca"; }
}
salida=$(cd "$tmp" && arranca)
[[ $salida == *"ventana principal abierta; datos en $prefijo/bin;"* ]] ||
  falla "ORV --prueba-arranque dijo: $salida"

# Read-only, as an installed program is to its users (as root, run it as
# nobody, whom permission bits do stop), it keeps its data in the user's folder.
casa=$tmp/casa
mkdir -m 777 "$casa"
chmod 755 "$tmp"
chmod a-w "$prefijo/bin"
como=()
[ "$(id -u)" -eq 0 ] && como=(setpriv --reuid=65534 --regid=65534 --clear-groups)
salida=$(cd "$casa" && arranca HOME="$casa" XDG_CONFIG_HOME= XDG_RUNTIME_DIR= "${como[@]}")
[[ $salida == *"datos en $casa/.config/ORV;"* ]] ||
  falla "con la carpeta del programa de solo lectura, ORV --prueba-arranque dijo: $salida"
[ -d "$casa/.config/ORV" ] || falla "no se ha creado $casa/.config/ORV"

(cd "$tmp" && env -u LD_LIBRARY_PATH PYTHONPATH="$prefijo/$pydir" python3 -c '
import sys, orvane
assert orvane.__file__.startswith(sys.argv[1]), orvane.__file__
afin = orvane.CreaObjeto("Tarnel.ORVCriptoAfin")
# 50 digits: split by the helper program installed beside the libraries.
big = orvane.Numbrel.ORVBigNum()
p, q = int(big.NextPrime("3*10^24")), int(big.NextPrime("7*10^24"))
assert big.Factorize(str(p * q)) == (True, [str(p), str(q)], ["1", "1"]), "Factorize"
assert orvane.Tarnel.RutaEstadisticas().startswith(sys.argv[1]), orvane.Tarnel.RutaEstadisticas()
assert orvane.Tarnel.EstadisticasEnUso().Total(1) > 0
' "$prefijo/") 2>"$tmp/python.err" || { cat "$tmp/python.err" >&2; falla "import orvane"; }

# The Debian package: the same tree under /usr, with its runtime packages.
calla cpack cpack -G DEB --config "$dir/CPackConfig.cmake" -B "$tmp/paquete"
deb=$(find "$tmp/paquete" -maxdepth 1 -name '*.deb')
[ -n "$deb" ] || falla "cpack no ha hecho el paquete"
depende=$(dpkg-deb -f "$deb" Depends)
for p in python3 libqt6widgets6 libgmp10 libflint; do
  [[ $depende == *"$p"* ]] || falla "el paquete no depende de $p: $depende"
done
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-translations-l10n* ]] ||
  falla "el paquete no recomienda qt6-translations-l10n"
dpkg-deb -c "$deb" >"$tmp/contenido"
grep -q ' \./usr/bin/ORV$' "$tmp/contenido" || falla "el paquete no tiene /usr/bin/ORV"
grep -q " \./usr/$libdir/es\.estadisticas\$" "$tmp/contenido" || falla "el paquete no tiene es.estadisticas"

echo "prueba de instalación: correcta (ORV, ${#bibliotecas[@]} bibliotecas, módulo de Python," \
  "escritorio, $(basename "$deb"))"
