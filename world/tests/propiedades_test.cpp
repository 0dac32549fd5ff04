// The design-time property store: order, defaults, case and its text form.
#include "kestrin/propiedades.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(Propiedades, KeepsWriteOrderAndReadsDefaultsForMissingNames) {
  Propiedades p;
  p.Escribe(U"Caption", Variante{Cadena(U"Cifra")});
  p.Escribe(U"Enabled", Variante{false});
  p.Escribe(U"TextColor", Variante{int32_t{-2147483630}});
  p.Escribe(U"caption", Variante{Cadena(U"Descifra")});  // same name: keeps its place
  EXPECT_EQ(p.Nombres(), (std::vector<Cadena>{U"Caption", U"Enabled", U"TextColor"}));
  EXPECT_EQ(std::get<Cadena>(p.Lee(U"CAPTION")), U"Descifra");
  EXPECT_EQ(std::get<bool>(p.Lee(U"Enabled", Variante{true})), false);
  EXPECT_EQ(std::get<int16_t>(p.Lee(U"Style", Variante{int16_t{1}})), 1);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(p.Lee(U"Falta")));
  EXPECT_EQ(p.Lecturas(), (std::vector<Cadena>{U"CAPTION", U"Enabled", U"Style", U"Falta"}));
  EXPECT_TRUE(p.Contiene(U"textcolor"));
  EXPECT_FALSE(p.Contiene(U"Style"));
  p.Borra();
  EXPECT_EQ(p.Cuenta(), 0u);
  EXPECT_TRUE(p.Lecturas().empty());
}

TEST(Propiedades, TextFormRoundTripsEveryKindButObjects) {
  Propiedades p;
  p.Escribe(U"Vacío", Variante{});
  p.Escribe(U"B", Variante{true});
  p.Escribe(U"I", Variante{int16_t{-32768}});
  p.Escribe(U"L", Variante{int32_t{2147483647}});
  p.Escribe(U"F", Variante{0.1f});
  p.Escribe(U"D", Variante{-1.0 / 3.0});
  p.Escribe(U"M", Variante{Moneda::desdeEscalado(-922337203685477580)});
  p.Escribe(U"S", Variante{Cadena(U"a=b\\c\nñ·\r")});
  p.Escribe(U"Nombre=raro\n", Variante{int32_t{7}});
  p.Escribe(U"Objeto", Variante{std::make_shared<Objeto>()});

  const auto leido = Propiedades::desdeTexto(p.aTexto());
  ASSERT_TRUE(leido.has_value()) << p.aTexto();
  std::vector<Cadena> esperados = p.Nombres();
  esperados.pop_back();  // objects are not written
  EXPECT_EQ(leido->Nombres(), esperados);
  for (const auto& nombre : esperados)
    EXPECT_EQ(leido->Lee(nombre), p.Lee(nombre)) << aUtf8(nombre);
}

TEST(Propiedades, MalformedTextIsRefusedWhole) {
  const char* casos[] = {
      "Caption",          // no '='
      "=s:x",             // no name
      "A=l:12x",          // trailing garbage
      "A=l:99999999999",  // out of range
      "A=i:40000",        // out of range for 16 bits
      "A=b:2",            // not a Boolean
      "A=q:1",            // unknown kind
      "A=s:bad\\escape",  // unknown escape
      "A=l",              // no kind separator
      "A=e:x",            // Empty with a value
      "A=s:ok\nB=d:",     // second line bad
  };
  for (const char* caso : casos) EXPECT_FALSE(Propiedades::desdeTexto(caso).has_value()) << caso;
  // Blank lines and Windows line ends are accepted.
  const auto bien = Propiedades::desdeTexto("A=l:5\r\n\r\nB=s:\n");
  ASSERT_TRUE(bien.has_value());
  EXPECT_EQ(std::get<int32_t>(bien->Lee(U"A")), 5);
  EXPECT_EQ(std::get<Cadena>(bien->Lee(U"B")), U"");
}

}  // namespace
}  // namespace kestrin
