// The image service: dancing figures drawn from a table of poses, and the
// phrases deciphered from their stored form.
#include "kestrin/orvimagen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "frases.h"
#include "kestrin/errores.h"

namespace kestrin {
namespace {

// The classic 16-colour palette; the figures use black, the flag red and
// maroon, the background silver.
constexpr uint32_t kNegro = 0xFF000000;
constexpr uint32_t kGranate = 0xFF800000;
constexpr uint32_t kGris = 0xFF808080;
constexpr uint32_t kRojo = 0xFFFF0000;

// A limb as two absolute angles in degrees, upper part then lower part:
// 0 points down, 90 to the right of the picture, 180 up, -90 to the left.
struct Miembro {
  float superior, inferior;
};

// Positions of a left limb; the right limb uses the same names mirrored.
namespace brazo {
constexpr Miembro abajo{-25, -15};
constexpr Miembro horizontal{-90, -90};
constexpr Miembro diagonal{-100, -145};  // a wave
constexpr Miembro arriba{-130, -130};
constexpr Miembro codoArriba{-95, -180};   // elbow out, forearm up
constexpr Miembro codoAbajo{-90, -5};      // elbow out, forearm down
constexpr Miembro cintura{-50, 40};        // hand on the hip
constexpr Miembro bajo{-30, -90};          // elbow down, forearm out
constexpr Miembro abierto{-55, -55};       // straight, down and out
}  // namespace brazo

namespace pierna {
constexpr Miembro firme{-10, -6};
constexpr Miembro abierta{-33, -28};
constexpr Miembro rodilla{-80, -5};        // knee raised, shin down
constexpr Miembro recogida{-60, 35};       // foot tucked under
constexpr Miembro patada{-48, -58};        // kicked out to the side
}  // namespace pierna

constexpr Miembro espejo(Miembro m) { return {-m.superior, -m.inferior}; }

struct Pose {
  char32_t letra;  // 0 for the flag holder
  Miembro brazoIzq, brazoDer, piernaIzq, piernaDer;
  float inclinacion = 0;  // of the trunk, degrees, positive to the right
};

using namespace brazo;
using namespace pierna;

// One pose per letter, all different; "SH" holds a flag.
const std::array<Pose, 28> kPoses = {{
    {U'A', arriba, espejo(arriba), firme, espejo(firme)},
    {U'B', horizontal, espejo(horizontal), firme, espejo(firme)},
    {U'C', diagonal, espejo(abajo), firme, espejo(firme)},
    {U'D', abajo, espejo(diagonal), firme, espejo(firme)},
    {U'E', codoArriba, espejo(codoArriba), firme, espejo(firme)},
    {U'F', codoAbajo, espejo(codoAbajo), abierta, espejo(firme)},
    {U'G', cintura, espejo(cintura), firme, espejo(firme)},
    {U'H', diagonal, espejo(diagonal), abierta, espejo(abierta)},
    {U'I', abajo, espejo(abajo), firme, espejo(firme)},
    {U'J', horizontal, espejo(abajo), rodilla, espejo(firme), 6},
    {U'K', bajo, espejo(horizontal), firme, espejo(firme)},
    {U'L', abajo, espejo(horizontal), firme, espejo(rodilla), -6},
    {U'M', codoArriba, espejo(codoAbajo), firme, espejo(abierta)},
    {U'N', diagonal, espejo(diagonal), recogida, espejo(firme)},
    {U'O', cintura, espejo(codoArriba), firme, espejo(firme)},
    {U'P', arriba, espejo(abajo), firme, espejo(patada), -8},
    {U'Q', horizontal, espejo(cintura), patada, espejo(firme), 8},
    {U'R', abajo, espejo(abajo), patada, espejo(firme)},
    {U'S', codoArriba, espejo(abajo), recogida, espejo(firme), 8},
    {U'T', horizontal, espejo(horizontal), rodilla, espejo(firme)},
    {U'U', cintura, espejo(bajo), firme, espejo(firme)},
    {U'V', diagonal, espejo(horizontal), firme, espejo(firme)},
    {U'W', codoAbajo, espejo(codoArriba), abierta, espejo(abierta)},
    {U'X', abierto, espejo(abierto), abierta, espejo(abierta)},
    {U'Y', arriba, espejo(arriba), abierta, espejo(abierta)},
    {U'Z', horizontal, espejo(diagonal), firme, espejo(recogida), -8},
    {U'Ñ', diagonal, espejo(diagonal), firme, espejo(recogida)},
    {0, abajo, espejo(codoArriba), firme, espejo(firme)},
}};

// Body proportions in pixels.
constexpr float kTronco = 7.0f;
constexpr float kCuello = 3.4f;  // neck to the centre of the head
constexpr float kRadioCabeza = 2.3f;
constexpr float kHombro = 2.0f;  // below the neck
constexpr float kBrazo = 4.0f, kAntebrazo = 3.5f;
constexpr float kMuslo = 5.5f, kEspinilla = 5.5f;

struct Punto {
  float x, y;
};

Punto avanza(Punto p, float grados, float largo) {
  const float r = grados * 3.14159265f / 180.0f;
  return {p.x + largo * std::sin(r), p.y + largo * std::cos(r)};
}

// A picture of 20 x 30 units drawn at `escala` pixels per unit. At 1:1 lines
// are Bresenham's; scaled up they are drawn afresh, one unit wide, so that
// diagonals stay smooth instead of turning into steps.
class Lienzo {
 public:
  explicit Lienzo(int escala)
      : escala_(escala),
        imagen_{ORVImagen::kAncho * escala, ORVImagen::kAlto * escala, {}} {
    imagen_.pixeles.assign(static_cast<size_t>(imagen_.ancho) * static_cast<size_t>(imagen_.alto),
                           ORVImagen::kFondo);
  }

  // One unit.
  void punto(int x, int y, uint32_t color) {
    for (int dy = 0; dy < escala_; ++dy) {
      for (int dx = 0; dx < escala_; ++dx) pixel(x * escala_ + dx, y * escala_ + dy, color);
    }
  }

  // Between the units nearest to both ends.
  void linea(Punto a, Punto b, uint32_t color) {
    const int x0 = static_cast<int>(std::lround(a.x)), y0 = static_cast<int>(std::lround(a.y));
    const int x1 = static_cast<int>(std::lround(b.x)), y1 = static_cast<int>(std::lround(b.y));
    if (escala_ == 1) {
      bresenham(x0, y0, x1, y1, color);
      return;
    }
    // Every pixel whose centre lies within half a unit of the segment.
    const float vx = static_cast<float>(x1 - x0), vy = static_cast<float>(y1 - y0);
    const float largo2 = vx * vx + vy * vy;
    for (int py = (std::min(y0, y1) - 1) * escala_; py < (std::max(y0, y1) + 2) * escala_; ++py) {
      for (int px = (std::min(x0, x1) - 1) * escala_; px < (std::max(x0, x1) + 2) * escala_;
           ++px) {
        const float ux = unidad(px) - static_cast<float>(x0), uy = unidad(py) - static_cast<float>(y0);
        const float t = largo2 > 0 ? std::clamp((ux * vx + uy * vy) / largo2, 0.0f, 1.0f) : 0.0f;
        const float dx = ux - t * vx, dy = uy - t * vy;
        if (dx * dx + dy * dy <= 0.25f) pixel(px, py, color);
      }
    }
  }

  void disco(Punto c, float radio, uint32_t color) {
    const int cx = static_cast<int>(std::lround(c.x)), cy = static_cast<int>(std::lround(c.y));
    const int r = static_cast<int>(std::ceil(radio));
    if (escala_ == 1) {
      for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
          if (static_cast<float>(dx * dx + dy * dy) <= radio * radio) pixel(cx + dx, cy + dy, color);
        }
      }
      return;
    }
    // The outline of the units drawn at 1:1, smoothed.
    const float borde = radio + 0.45f;
    for (int py = (cy - r - 1) * escala_; py < (cy + r + 2) * escala_; ++py) {
      for (int px = (cx - r - 1) * escala_; px < (cx + r + 2) * escala_; ++px) {
        const float dx = unidad(px) - static_cast<float>(cx), dy = unidad(py) - static_cast<float>(cy);
        if (dx * dx + dy * dy <= borde * borde) pixel(px, py, color);
      }
    }
  }

  Imagen imagen() && { return std::move(imagen_); }

 private:
  // The position, in units, of the centre of pixel p.
  float unidad(int p) const {
    return (static_cast<float>(p) + 0.5f) / static_cast<float>(escala_) - 0.5f;
  }

  void pixel(int x, int y, uint32_t color) {
    if (x < 0 || y < 0 || x >= imagen_.ancho || y >= imagen_.alto) return;
    imagen_.pixeles[static_cast<size_t>(y) * static_cast<size_t>(imagen_.ancho) +
                    static_cast<size_t>(x)] = color;
  }

  void bresenham(int x0, int y0, int x1, int y1, uint32_t color) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      pixel(x0, y0, color);
      if (x0 == x1 && y0 == y1) break;
      const int doble = 2 * error;
      if (doble >= dy) error += dy, x0 += sx;
      if (doble <= dx) error += dx, y0 += sy;
    }
  }

  int escala_;
  Imagen imagen_;
};

// The joints of a pose, and where its pixels end up.
struct Esqueleto {
  Punto cadera, cuello, cabeza, hombro;
  Punto codoIzq, manoIzq, codoDer, manoDer;
  Punto rodillaIzq, pieIzq, rodillaDer, pieDer;

  void desplaza(float dx, float dy) {
    for (Punto* p : {&cadera, &cuello, &cabeza, &hombro, &codoIzq, &manoIzq, &codoDer, &manoDer,
                     &rodillaIzq, &pieIzq, &rodillaDer, &pieDer}) {
      p->x += dx;
      p->y += dy;
    }
  }
};

Esqueleto articula(const Pose& pose) {
  Esqueleto e;
  e.cadera = {10, 17};
  e.cuello = avanza(e.cadera, 180 - pose.inclinacion, kTronco);
  e.cabeza = avanza(e.cuello, 180 - pose.inclinacion, kCuello);
  e.hombro = avanza(e.cuello, -pose.inclinacion, kHombro);
  e.codoIzq = avanza(e.hombro, pose.brazoIzq.superior, kBrazo);
  e.manoIzq = avanza(e.codoIzq, pose.brazoIzq.inferior, kAntebrazo);
  e.codoDer = avanza(e.hombro, pose.brazoDer.superior, kBrazo);
  e.manoDer = avanza(e.codoDer, pose.brazoDer.inferior, kAntebrazo);
  e.rodillaIzq = avanza(e.cadera, pose.piernaIzq.superior, kMuslo);
  e.pieIzq = avanza(e.rodillaIzq, pose.piernaIzq.inferior, kEspinilla);
  e.rodillaDer = avanza(e.cadera, pose.piernaDer.superior, kMuslo);
  e.pieDer = avanza(e.rodillaDer, pose.piernaDer.inferior, kEspinilla);
  // Stand on the ground line (row 28) and stay inside the picture.
  const float suelo = std::max(e.pieIzq.y, e.pieDer.y);
  e.desplaza(0, 28 - std::round(suelo));
  const float izquierda = std::min({e.manoIzq.x, e.codoIzq.x, e.pieIzq.x - 1, e.rodillaIzq.x,
                                    e.manoDer.x, e.pieDer.x, e.cabeza.x - kRadioCabeza});
  const float derecha = std::max({e.manoDer.x, e.codoDer.x, e.pieDer.x + 1, e.rodillaDer.x,
                                  e.manoIzq.x, e.pieIzq.x, e.cabeza.x + kRadioCabeza});
  if (std::round(izquierda) < 1) e.desplaza(1 - std::round(izquierda), 0);
  if (std::round(derecha) > 18) e.desplaza(18 - std::round(derecha), 0);
  return e;
}

Imagen dibuja(const Pose& pose, int escala) {
  const Esqueleto e = articula(pose);
  Lienzo lienzo(escala);
  if (pose.letra == 0) {
    // The pennant on its pole, held in the right hand and flying to the right.
    static constexpr const char* kBandera[] = {"MMMM", "RRRM", "RRM", "RM", "M"};
    const int x = static_cast<int>(std::lround(e.manoDer.x));
    const int y = static_cast<int>(std::lround(e.manoDer.y));
    lienzo.linea({static_cast<float>(x), static_cast<float>(y + 2)},
                 {static_cast<float>(x), 1}, kGris);
    for (int fila = 0; fila < 5; ++fila) {
      for (int k = 0; kBandera[fila][k] != 0; ++k) {
        lienzo.punto(x + 1 + k, 1 + fila, kBandera[fila][k] == 'R' ? kRojo : kGranate);
      }
    }
  }
  lienzo.disco(e.cabeza, kRadioCabeza, kNegro);
  lienzo.linea(e.cuello, e.cadera, kNegro);
  lienzo.linea(e.hombro, e.codoIzq, kNegro);
  lienzo.linea(e.codoIzq, e.manoIzq, kNegro);
  lienzo.linea(e.hombro, e.codoDer, kNegro);
  lienzo.linea(e.codoDer, e.manoDer, kNegro);
  lienzo.linea(e.cadera, e.rodillaIzq, kNegro);
  lienzo.linea(e.rodillaIzq, e.pieIzq, kNegro);
  lienzo.linea(e.cadera, e.rodillaDer, kNegro);
  lienzo.linea(e.rodillaDer, e.pieDer, kNegro);
  // Feet point outwards.
  lienzo.linea(e.pieIzq, {e.pieIzq.x - 1, e.pieIzq.y}, kNegro);
  lienzo.linea(e.pieDer, {e.pieDer.x + 1, e.pieDer.y}, kNegro);
  return std::move(lienzo).imagen();
}

const Pose* buscaPose(VistaCadena id) {
  if (id.size() < 2 || id.size() > 3 || minuscula(id[0]) != U's' || minuscula(id[1]) != U'h') {
    return nullptr;
  }
  const char32_t letra = id.size() == 2 ? 0 : minuscula(id[2]);
  for (const auto& pose : kPoses) {
    if (minuscula(pose.letra) == letra) return &pose;
  }
  return nullptr;
}

// A copy of the laboratory's alphabet: Tarnel links Kestrin, not the reverse.
constexpr VistaCadena kAlfabeto =
    U"·abcdefghijklmnñopqrstuvwxyz0123456789@(){}<>=+-*/%&ºª,;.:¿?¡!'\"";

int inverso(int a) {
  for (int x = 1; x < 64; ++x) {
    if ((a * x) % 64 == 1) return x;
  }
  return 0;
}

}  // namespace

namespace frases {

Cadena descifra(VistaCadena cifrada) {
  static const int kInverso = inverso(kMultiplicador);
  Cadena claro;
  for (char32_t c : cifrada) {
    const auto y = kAlfabeto.find(c);
    if (y == VistaCadena::npos) continue;
    const int x = (((static_cast<int>(y) - kDesplazamiento) * kInverso) % 64 + 64) % 64;
    const char32_t s = kAlfabeto[static_cast<size_t>(x)];
    if (s == U'·') {
      claro.push_back(U' ');
    } else if (s == U'ñ') {
      claro.push_back(U'Ñ');
    } else if (s >= U'a' && s <= U'z') {
      claro.push_back(s - 32);
    }
  }
  return claro;
}

}  // namespace frases

uint32_t Imagen::pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= ancho || y >= alto) throw ErrorSubindice();
  return pixeles[static_cast<size_t>(y) * static_cast<size_t>(ancho) + static_cast<size_t>(x)];
}

std::optional<Imagen> ORVImagen::Bitmap(VistaCadena id) const { return Bitmap(id, 1); }

std::optional<Imagen> ORVImagen::Bitmap(VistaCadena id, int32_t escala) const {
  try {
    const Pose* pose = buscaPose(id);
    if (pose == nullptr || escala < 1 || escala > kEscalaMaxima) return std::nullopt;
    return dibuja(*pose, escala);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<Imagen> ORVImagen::Icon(VistaCadena) const { return std::nullopt; }

Cadena ORVImagen::Str(int32_t id) const {
  if (id < 1 || id > static_cast<int32_t>(std::size(frases::kCifradas))) {
    lanzaError(kRecursoNoEncontrado);
  }
  return frases::descifra(frases::kCifradas[id - 1]);
}

std::vector<Cadena> ORVImagen::Identificadores() {
  std::vector<Cadena> ids;
  for (char32_t c = U'A'; c <= U'Z'; ++c) ids.push_back(Cadena(U"SH") + c);
  ids.insert(ids.begin() + 14, U"SHÑ");
  ids.push_back(U"SH");
  return ids;
}

}  // namespace kestrin
