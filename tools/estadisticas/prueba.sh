#!/usr/bin/env bash
# Checks the statistics tool: what it writes for a small text, its errors,
# and that the shipped file is what the documented command makes of the
# corpus (when ../shared/corpus/es.txt is there).
#   prueba.sh <estadisticas> <project root>
set -euo pipefail
herramienta=$1
raiz=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
falla() { echo "prueba de estadisticas: $*" >&2; exit 1; }

printf 'Ana\nana' >"$tmp/texto.txt"  # a n a · a n a
"$herramienta" "$tmp/texto.txt" "$tmp/salida" 2>"$tmp/err" || falla "no escribe: $(cat "$tmp/err")"
grep -v '^#' "$tmp/salida" >"$tmp/cuentas"
cat >"$tmp/esperadas" <<'FIN'
orvane-estadisticas 1
excluidos 0
orden 1 7 3
a 4
n 2
· 1
orden 2 6 4
an 2
na 2
·a 1
a· 1
orden 3 5 4
ana 2
·an 1
a·a 1
na· 1
orden 4 4 4
·ana 1
a·an 1
ana· 1
na·a 1
FIN
diff -u "$tmp/esperadas" "$tmp/cuentas" >&2 || falla "cuentas inesperadas"

# The same kind of text in Windows-1252: "Ñandú" folds to "ñandu".
printf '\xd1and\xfa' >"$tmp/ansi.txt"
"$herramienta" --ansi "$tmp/ansi.txt" >"$tmp/ansi" 2>/dev/null || falla "--ansi"
grep -qx 'ñand 1' "$tmp/ansi" && grep -qx 'andu 1' "$tmp/ansi" || falla "--ansi no pliega «Ñandú»"

# Errors: a clear message, a failure status, and no file left behind.
"$herramienta" "$tmp/no-existe.txt" "$tmp/x" 2>"$tmp/err" && falla "acepta un fichero que no existe"
grep -q 'No se puede leer' "$tmp/err" || falla "mensaje: $(cat "$tmp/err")"
[ ! -e "$tmp/x" ] || falla "deja un fichero tras fallar"
"$herramienta" --excluye-final x "$tmp/texto.txt" 2>"$tmp/err" && falla "acepta --excluye-final x"
grep -q '^Uso:' "$tmp/err" || falla "sin uso"
"$herramienta" "$tmp/texto.txt" "$tmp/no/hay/carpeta" 2>"$tmp/err" && falla "escribe donde no puede"
grep -q 'No se puede escribir' "$tmp/err" || falla "mensaje: $(cat "$tmp/err")"

corpus=$raiz/../shared/corpus/es.txt
if [ -f "$corpus" ]; then
  "$herramienta" --excluye-final 60000 "$corpus" "$tmp/es" 2>/dev/null || falla "no hace las del corpus"
  cmp -s "$tmp/es" "$raiz/classic/datos/es.estadisticas" ||
    falla "classic/datos/es.estadisticas no es lo que la orden del README hace del corpus"
fi
echo "prueba de estadisticas: correcta"
