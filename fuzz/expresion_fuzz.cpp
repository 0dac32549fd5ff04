// The big-number service's expressions: integer and rational evaluation and
// the reduction modulo m, on any text.
//
// Bounded: inputs over 1 KB, or with more than three powers and factorials,
// are skipped. Each operation is bounded by the service itself, but a
// sum of many factorials of 4 M bits each is not, as a whole; that is the
// service's own cost limit to settle, not something to find again here.
// Variables are never set, so no name is ever replaced.
#include <cstddef>
#include <cstdint>
#include <string>

#include "comun.h"
#include "kestrin/cadena.h"
#include "numbrel/orvbignum.h"

namespace {

using kestrin::Cadena;

constexpr size_t kMaxEntrada = 1024;
constexpr int kMaxCaros = 3;

numbrel::ORVBigNum& servicio() {
  static auto* b = new numbrel::ORVBigNum();
  return *b;
}

bool esError(const Cadena& s) { return s == U"Error"; }

bool esEnteroTexto(const Cadena& s) {
  size_t i = !s.empty() && s[0] == U'-' ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < U'0' || s[i] > U'9') return false;
  return true;
}

// "p" or "p/q" with q > 1 and no leading zeros beyond "0".
bool esRacionalTexto(const Cadena& s) {
  const size_t barra = s.find(U'/');
  if (barra == Cadena::npos) return esEnteroTexto(s);
  const Cadena num = s.substr(0, barra), den = s.substr(barra + 1);
  return esEnteroTexto(num) && esEnteroTexto(den) && den[0] != U'-' && den != U"1" &&
         den[0] != U'0';
}

// Only what the engine's own grammar reads: no letters (so no variables, no
// "mod", no "N(…)"), no zero (which the service cuts the text at).
bool soloGramatica(const Cadena& s, bool division) {
  for (char32_t c : s) {
    if (c >= U'0' && c <= U'9') continue;
    if (Cadena(U" \t\r\n+-*^!()[]{}").find(c) != Cadena::npos) continue;
    if (division && Cadena(U"/\\%").find(c) != Cadena::npos) continue;
    return false;
  }
  return true;
}

Cadena sinSigno(const Cadena& s) { return !s.empty() && s[0] == U'-' ? s.substr(1) : s; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  if (tamano > kMaxEntrada) return 0;
  int caros = 0;
  for (size_t i = 0; i < tamano; ++i) caros += datos[i] == '^' || datos[i] == '!';
  if (caros > kMaxCaros) return 0;
  const Cadena texto = kestrin::desdeAnsi(std::string_view(reinterpret_cast<const char*>(datos), tamano));
  numbrel::ORVBigNum& b = servicio();

  orvfuzz::protege([&] {
    const size_t corte = texto.find(U';');
    if (corte != Cadena::npos) {
      // "expresión;módulo": the reduction as it goes against the integer's remainder.
      const Cadena expr = texto.substr(0, corte), modulo = texto.substr(corte + 1);
      const Cadena r = b.BMod(expr, modulo);
      if (esError(r)) return;
      ORV_EXIGE(esEnteroTexto(r) && r[0] != U'-');
      if (!soloGramatica(expr, true) || !soloGramatica(modulo, true)) return;
      const Cadena m = b.Eval(modulo, {}, true);
      if (esError(m) || m.empty() || m == U"0") return;
      const Cadena referencia = b.Eval(U"(" + expr + U")%(" + sinSigno(m) + U")", {}, true);
      if (!esError(referencia)) ORV_EXIGE(r == referencia);
      return;
    }
    const Cadena entero = b.Eval(texto, {}, true);
    const Cadena racional = b.Eval(texto);
    if (!esError(entero) && !entero.empty()) {
      ORV_EXIGE(esEnteroTexto(entero));
      // What the service writes it reads back as the same value.
      ORV_EXIGE(b.Eval(entero, {}, true) == entero);
      // Without division the two arithmetics agree wherever the integers do.
      if (soloGramatica(texto, false)) ORV_EXIGE(racional == entero);
    }
    if (!esError(racional) && !racional.empty() && racional.find(U',') == Cadena::npos) {
      ORV_EXIGE(esRacionalTexto(racional));
      ORV_EXIGE(b.Eval(racional) == racional);
    }
  });
  return 0;
}
