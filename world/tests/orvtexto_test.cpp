// Tagged texts and the tag helpers of ORVW.
#include "kestrin/orvtexto.h"

#include <gtest/gtest.h>

#include "kestrin/orvw.h"

namespace kestrin {
namespace {

struct CasoEtiqueta {
  const char32_t* nombre;
  const char32_t* cadena;
  int32_t keyTexto;        // what ORVTexto reads (case exact)
  const char32_t* texto;   // ORVTexto.Texto afterwards
  int32_t keyW;            // what ORVW.CSKey reads (any case)
};

const CasoEtiqueta kEtiquetas[] = {
    {U"afin", U"[ORVKey=002]Hola", 2, U"Hola", 2},
    {U"minusculas", U"[orvkey=002]Hola", 1, U"[orvkey=002]Hola", 2},
    {U"solo etiqueta", U"[ORVKey=128]", 128, U"", 128},
    {U"un digito", U"[ORVKey=5]abcd", 1, U"[ORVKey=5]abcd", 1},
    {U"corta", U"[ORVKey=002", 1, U"[ORVKey=002", 1},
    {U"dos iguales", U"[ORVKey=0=2]x", 1, U"[ORVKey=0=2]x", 1},
    {U"cierre libre", U"[ORVKey=016)x", 16, U"x", 16},
    {U"uno explicito", U"[ORVKey=001]x", 1, U"x", 1},
    {U"sin etiqueta", U"En un lugar de la Mancha", 1, U"En un lugar de la Mancha", 1},
    {U"vacia", U"", 1, U"", 1},
};

TEST(ORVTexto, ReadsTagsExactlyAndORVWInAnyCase) {
  const ORVW w;
  for (const auto& caso : kEtiquetas) {
    const auto nombre = aUtf8(caso.nombre);
    ORVTexto t;
    t.setTexto(caso.cadena);
    EXPECT_EQ(t.Key(), caso.keyTexto) << nombre;
    EXPECT_EQ(t.Texto(), caso.texto) << nombre;
    EXPECT_EQ(w.CSKey(caso.cadena), caso.keyW) << nombre;
  }
}

TEST(ORVTexto, KeyTextWritesTheTagBack) {
  ORVTexto t;
  EXPECT_EQ(t.Key(), CSKNone);
  t.setTexto(U"[ORVKey=002]palabra");
  EXPECT_EQ(t.KeyText(), U"[ORVKey=002]palabra");
  t.setKey(CSKNone);
  EXPECT_EQ(t.KeyText(), U"palabra");
  t.setKey(1000);  // outside the table: four digits, not read back as the same value
  EXPECT_EQ(t.KeyText(), U"[ORVKey=1000]palabra");
  t.asigna(U"[ORVKey=008]x", CSKSust);
  EXPECT_EQ(t.Texto(), U"[ORVKey=008]x");
  EXPECT_EQ(t.Key(), CSKSust);
}

// An editor's changes: in place while nobody holds the string, on a copy
// while someone does, so that a holder's snapshot never changes.
TEST(ORVTexto, ReplacingAStretchNeverChangesAHeldString) {
  ORVTexto t;
  t.asigna(U"abcdef", CSKVig);
  const Cadena* propia = &t.Texto();
  t.reemplaza(1, 2, U"XYZ");
  EXPECT_EQ(t.Texto(), U"aXYZdef");
  EXPECT_EQ(&t.Texto(), propia) << "nobody held it: changed in place";

  const auto instantanea = t.TextoCompartido();
  t.reemplaza(0, 1, U"");
  EXPECT_EQ(*instantanea, U"aXYZdef");
  EXPECT_EQ(t.Texto(), U"XYZdef");
  EXPECT_NE(t.TextoCompartido(), instantanea);
  EXPECT_EQ(t.Key(), CSKVig);

  // Out of range is clipped; a piece of the text itself may be inserted.
  t.reemplaza(100, 5, U"!");
  EXPECT_EQ(t.Texto(), U"XYZdef!");
  t.reemplaza(3, 100, VistaCadena(t.Texto()).substr(0, 3));
  EXPECT_EQ(t.Texto(), U"XYZXYZ");

  // The empty text is shared by every new object: changing one leaves the others empty.
  ORVTexto a, b;
  a.reemplaza(0, 0, U"hola");
  EXPECT_EQ(a.Texto(), U"hola");
  EXPECT_EQ(b.Texto(), U"");
}

TEST(ORVW, SetCSKeyReplacesOrStripsTheTag) {
  const ORVW w;
  Cadena s = U"texto";
  w.setCSKey(s, CSKNone);
  EXPECT_EQ(s, U"texto");
  w.setCSKey(s, CSKAfin);
  EXPECT_EQ(s, U"[ORVKey=002]texto");
  w.setCSKey(s, CSKVig);
  EXPECT_EQ(s, U"[ORVKey=008]texto");
  s = U"[orvKey=016]x";
  EXPECT_EQ(w.CSText(s), U"x");
  w.setCSKey(s, CSKNone);
  EXPECT_EQ(s, U"x");
  EXPECT_EQ(w.CSText(U"[ORVKey=5]abcd"), U"[ORVKey=5]abcd");
  EXPECT_EQ(w.ORVNoKey(), U"_");
}

TEST(ORVW, DescribesEveryIdentifier) {
  const ORVW w;
  const std::pair<int32_t, const char32_t*> casos[] = {
      {1, U"Texto en claro"},
      {2, U"Cifrado con el criptosistema Afín"},
      {4, U"Cifrado con el criptosistema de sustitución"},
      {8, U"Cifrado con el criptosistema de Vigenère"},
      {16, U"Cifrado con el criptosistema XOR"},
      {32, U"Cifrado con el criptosistema de Hill"},
      {64, U"Cifrado con el criptosistema RSA"},
      {128, U"Cifrado con el criptosistema Merkle-Hellmann"},
      {255, U"Cifrado desconocido"},
      {3, U"Cifrado desconocido"},
      {0, U"Cifrado desconocido"},
  };
  for (const auto& [key, descripcion] : casos) EXPECT_EQ(w.CSDescription(key), descripcion) << key;
}

}  // namespace
}  // namespace kestrin
