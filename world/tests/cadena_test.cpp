// Text conversions at the edges and locale-independent case folding.
#include "kestrin/cadena.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(Cadena, Utf8RoundTripKeepsEveryCharacter) {
  const std::string texto = "¿Qué año? Ñandú · «€» 𝄞";
  const Cadena c = desdeUtf8(texto);
  EXPECT_EQ(c.size(), 23u);
  EXPECT_EQ(c[0], U'¿');
  EXPECT_EQ(c.back(), char32_t{0x1D11E});
  EXPECT_EQ(aUtf8(c), texto);
}

TEST(Cadena, MalformedUtf8BecomesReplacementCharacters) {
  // A lone continuation byte, a truncated sequence and an overlong encoding.
  const Cadena c = desdeUtf8(std::string("a\x80" "b\xC3" "c\xC0\xAF", 7));
  EXPECT_EQ(c, (Cadena{U'a', 0xFFFD, U'b', 0xFFFD, U'c', 0xFFFD, 0xFFFD}));
}

TEST(Cadena, AnsiCodesFollowWindows1252) {
  struct Caso {
    char32_t caracter;
    uint8_t codigo;
  };
  const Caso casos[] = {
      {U'A', 65}, {U'·', 0xB7}, {U'ñ', 0xF1}, {U'¿', 0xBF}, {U'€', 0x80},
      {U'—', 0x97}, {U'Ÿ', 0x9F}, {U'ā', 63}, {U'中', 63}, {char32_t{0x1D11E}, 63},
  };
  for (const auto& caso : casos) {
    EXPECT_EQ(codigoAnsi(caso.caracter), caso.codigo) << static_cast<uint32_t>(caso.caracter);
    if (caso.codigo != 63) {
      EXPECT_EQ(caracterAnsi(caso.codigo), caso.caracter);
    }
  }
  // Every byte survives a round trip through the character type.
  std::string todos;
  for (int b = 0; b < 256; ++b) todos.push_back(static_cast<char>(b));
  EXPECT_EQ(aAnsi(desdeAnsi(todos)), todos);
}

TEST(Cadena, CaseFoldingCoversSpanishLettersWithoutLocale) {
  EXPECT_EQ(enMinusculas(U"ÁÉÍÓÚÜÑ ÀÈÌÒÙ ÂÊÎÔÛ ÄËÏÖ ABCZ"), U"áéíóúüñ àèìòù âêîôû äëïö abcz");
  EXPECT_EQ(minuscula(U'×'), U'×');  // the multiplication sign is no letter
  EXPECT_EQ(minuscula(U'º'), U'º');
  EXPECT_TRUE(igualesSinMayusculas(U"[ORVKey", U"[orvKEY"));
  EXPECT_FALSE(igualesSinMayusculas(U"año", U"ano"));
  EXPECT_FALSE(igualesSinMayusculas(U"ab", U"abc"));
}

}  // namespace
}  // namespace kestrin
