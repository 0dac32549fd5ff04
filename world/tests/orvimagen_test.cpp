// The image service: figures and phrases.
#include "kestrin/orvimagen.h"

#include <gtest/gtest.h>

#include <set>

#include "kestrin/errores.h"

namespace kestrin {
namespace {

const std::set<uint32_t> kPaleta = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

TEST(ORVImagen, EveryFigureIsADistinctStandingPicture) {
  const ORVImagen imagenes;
  const auto ids = ORVImagen::Identificadores();
  ASSERT_EQ(ids.size(), 28u);
  EXPECT_EQ(ids[14], U"SHÑ");
  EXPECT_EQ(ids.back(), U"SH");
  std::set<std::vector<uint32_t>> vistas;
  for (const auto& id : ids) {
    const auto nombre = aUtf8(id);
    const auto imagen = imagenes.Bitmap(id);
    ASSERT_TRUE(imagen.has_value()) << nombre;
    ASSERT_EQ(imagen->ancho, 20) << nombre;
    ASSERT_EQ(imagen->alto, 30) << nombre;
    ASSERT_EQ(imagen->pixeles.size(), 600u) << nombre;
    int negros = 0, suelo = 0;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 20; ++x) {
        const uint32_t p = imagen->pixel(x, y);
        EXPECT_TRUE(kPaleta.contains(p)) << nombre << " " << x << "," << y;
        if (p == 0xFF000000) ++negros;
        if (p != ORVImagen::kFondo && y == 28) ++suelo;
        // Nothing is cut by the edge: the outer columns and the last row stay empty.
        if (x == 0 || x == 19 || y == 29) {
          EXPECT_EQ(p, ORVImagen::kFondo) << nombre << " " << x << "," << y;
        }
      }
    }
    EXPECT_GT(negros, 40) << nombre;
    EXPECT_GT(suelo, 0) << nombre << " stands on row 28";
    vistas.insert(imagen->pixeles);
  }
  EXPECT_EQ(vistas.size(), 28u);  // no two figures alike
  // Only the flag holder has red.
  const auto bandera = imagenes.Bitmap(U"SH");
  EXPECT_NE(std::find(bandera->pixeles.begin(), bandera->pixeles.end(), 0xFFFF0000u),
            bandera->pixeles.end());
}

TEST(ORVImagen, ScaledFiguresKeepTheShapesOfThe1To1Pictures) {
  const ORVImagen imagenes;
  for (const auto& id : ORVImagen::Identificadores()) {
    const auto nombre = aUtf8(id);
    const auto original = imagenes.Bitmap(id);
    EXPECT_EQ(imagenes.Bitmap(id, 1), original) << nombre;
    for (int32_t escala : {2, 3, 4}) {
      const auto grande = imagenes.Bitmap(id, escala);
      ASSERT_TRUE(grande.has_value()) << nombre;
      ASSERT_EQ(grande->ancho, 20 * escala);
      ASSERT_EQ(grande->alto, 30 * escala);
      // Against the picture enlarged pixel by pixel: only the edges of the
      // smoothed diagonals and the head may differ.
      int iguales = 0;
      for (int y = 0; y < grande->alto; ++y) {
        for (int x = 0; x < grande->ancho; ++x) {
          const uint32_t p = grande->pixel(x, y);
          EXPECT_TRUE(kPaleta.contains(p)) << nombre;
          iguales += p == original->pixel(x / escala, y / escala);
        }
      }
      EXPECT_GT(iguales * 100, grande->ancho * grande->alto * 92) << nombre << " x" << escala;
    }
  }
  for (int32_t escala : {0, -1, ORVImagen::kEscalaMaxima + 1}) {
    EXPECT_FALSE(imagenes.Bitmap(U"SHA", escala).has_value()) << escala;
  }
  EXPECT_TRUE(imagenes.Bitmap(U"SHA", ORVImagen::kEscalaMaxima).has_value());
}

TEST(ORVImagen, BitmapNamesCompareWithoutCaseAndUnknownOnesGiveNothing) {
  const ORVImagen imagenes;
  EXPECT_EQ(imagenes.Bitmap(U"shA"), imagenes.Bitmap(U"SHA"));
  EXPECT_EQ(imagenes.Bitmap(U"shñ"), imagenes.Bitmap(U"SHÑ"));
  EXPECT_EQ(imagenes.Bitmap(U"sh"), imagenes.Bitmap(U"SH"));
  EXPECT_NE(imagenes.Bitmap(U"SHA"), imagenes.Bitmap(U"SHB"));
  for (const char32_t* id : {U"XX", U"", U"S", U"SHAA", U"SH1", U"SHÁ", U"SH ", U"gris"}) {
    EXPECT_FALSE(imagenes.Bitmap(id).has_value()) << aUtf8(id);
  }
  EXPECT_FALSE(imagenes.Icon(U"SHA").has_value());
  EXPECT_THROW(imagenes.Bitmap(U"SHA")->pixel(20, 0), ErrorSubindice);
}

TEST(ORVImagen, PhrasesAreCapitalsThatTheFiguresCanDraw) {
  const ORVImagen imagenes;
  const size_t largos[] = {30, 19, 18, 15, 15, 27};
  for (int32_t n = 1; n <= 6; ++n) {
    const Cadena frase = imagenes.Str(n);
    EXPECT_EQ(frase.size(), largos[n - 1]) << n;
    for (char32_t c : frase) {
      EXPECT_TRUE((c >= U'A' && c <= U'Z') || c == U'Ñ' || c == U' ') << n;
      // The main window fetches "sh" + the character, trimmed.
      const Cadena id = c == U' ' ? Cadena(U"sh") : Cadena(U"sh") + c;
      EXPECT_TRUE(imagenes.Bitmap(id).has_value()) << n;
    }
  }
  for (int32_t n : {0, 7, -1}) {
    try {
      imagenes.Str(n);
      ADD_FAILURE() << n;
    } catch (const ErrorORV& e) {
      EXPECT_EQ(e.numero(), kRecursoNoEncontrado) << n;
    }
  }
}

}  // namespace
}  // namespace kestrin
