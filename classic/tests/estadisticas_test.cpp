// Language statistics: counting, the text form and the shipped file.
#include "tarnel/estadisticas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "kestrin/errores.h"

namespace tarnel {
namespace {

std::string escribe(const EstadisticasLengua& e) {
  std::ostringstream salida;
  e.Escribe(salida);
  return salida.str();
}

EstadisticasLengua lee(const std::string& texto) {
  std::istringstream entrada(texto);
  return EstadisticasLengua::Lee(entrada);
}

TEST(Estadisticas, CuentaLosBloquesDelTextoPlegado) {
  // Capitals and accents fold, "#" and the tab are dropped (the blocks run
  // across them, as the ciphers drop them), the line break is a space.
  const auto e = EstadisticasLengua::Cuenta(U"Ána#\tna\nA");
  // Symbols: a n a n a · a
  EXPECT_EQ(e.Total(1), 7u);
  EXPECT_EQ(e.Total(2), 6u);
  EXPECT_EQ(e.Total(4), 4u);
  struct Caso {
    const char32_t* bloque;
    uint64_t cuenta;
  };
  for (const Caso& c : std::initializer_list<Caso>{{U"a", 4},
                                                   {U"n", 2},
                                                   {U"·", 1},
                                                   {U"an", 2},
                                                   {U"na", 2},
                                                   {U"a·", 1},
                                                   {U"ana", 2},
                                                   {U"nan", 1},
                                                   {U"anan", 1},
                                                   {U"nana", 1},
                                                   {U"ana·", 1},
                                                   {U"na·a", 1},
                                                   {U"A", 4},
                                                   {U"aa", 0},
                                                   {U"a#", 0},
                                                   {U"anana", 0}}) {
    EXPECT_EQ(e.CuentaBloque(c.bloque), c.cuenta) << kestrin::aUtf8(c.bloque);
  }
  EXPECT_DOUBLE_EQ(e.Frecuencia(1), 4.0 / 7.0);
  EXPECT_DOUBLE_EQ(e.IndiceCoincidencia(), (16.0 + 4.0 + 1.0) / 49.0);
  EXPECT_THROW(e.Frecuencia(64), kestrin::ErrorSubindice);
}

TEST(Estadisticas, ExcluyeElFinalDesdeElPrincipioDeSuLinea) {
  const Cadena texto = U"uno dos\ntres cuatro\ncinco";
  // 8 characters reach into "tres cuatro": the whole line goes too.
  const auto e = EstadisticasLengua::Cuenta(texto, 8);
  EXPECT_EQ(e.Excluidos(), texto.size() - 8);  // all but "uno dos\n"
  EXPECT_EQ(e.Total(1), 8u);
  EXPECT_EQ(e.CuentaBloque(U"tr"), 0u);
  EXPECT_EQ(EstadisticasLengua::Cuenta(texto, 0).Excluidos(), 0u);
  EXPECT_EQ(EstadisticasLengua::Cuenta(texto, 1000).Total(1), 0u);
}

TEST(Estadisticas, LaFormaDeTextoSeLeeComoSeEscribio) {
  const auto e = EstadisticasLengua::Cuenta(U"¿Qué es la vida? Un frenesí; «una ilusión»: 1, 2, 3.\nFin", 3);
  const std::string texto = escribe(e);
  const auto leida = lee(texto);
  EXPECT_EQ(escribe(leida), texto);
  EXPECT_EQ(leida.Excluidos(), e.Excluidos());
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(leida.Total(n), e.Total(n));
  EXPECT_EQ(leida.CuentaBloque(U"¿que"), 1u);
  EXPECT_DOUBLE_EQ(leida.LogProbabilidad(U"·es·"), e.LogProbabilidad(U"·es·"));
  // The same text always writes the same file.
  EXPECT_EQ(escribe(EstadisticasLengua::Cuenta(U"abc abc")), escribe(EstadisticasLengua::Cuenta(U"abc abc")));
}

TEST(Estadisticas, UnFicheroMalFormadoSeRechazaEntero) {
  const std::string bueno = escribe(EstadisticasLengua::Cuenta(U"ab"));
  // "orden 1 2 2 / a 1 / b 1 / orden 2 1 1 / ab 1 / orden 3 0 0 / orden 4 0 0"
  ASSERT_NO_THROW(lee(bueno));
  const auto cambia = [&](const std::string& de, const std::string& a) {
    std::string s = bueno;
    const size_t i = s.find(de);
    EXPECT_NE(i, std::string::npos) << de;
    return s.replace(i, de.size(), a);
  };
  const std::string casos[] = {
      "",
      "orvane-estadisticas 2\n",
      cambia("orvane-estadisticas 1\n", ""),
      cambia("excluidos 0", "excluidos x"),
      cambia("orden 2", "orden 3"),
      cambia("ab 1", "ab 2"),            // counts do not add up to the total
      cambia("ab 1", "a# 1"),            // a character outside the alphabet
      cambia("ab 1", "abc 1"),           // a block of the wrong length
      cambia("ab 1", "ab"),              // no count
      cambia("ab 1", "ab 1 1"),          // something after the count
      cambia("ab 1", "ab -1"),
      cambia("b 1\n", "a 1\n"),          // a repeated block
      cambia("orden 1 2 2", "orden 1 2 3"),  // a block missing
      bueno + "ba 1\n",                  // lines left over
      cambia("orden 4 0 0\n", ""),
  };
  for (const std::string& caso : casos) {
    try {
      lee(caso);
      ADD_FAILURE() << "aceptado:\n" << caso;
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), kestrin::kArgumentoNoValido);
      EXPECT_NE(std::string(e.what()).find("línea"), std::string::npos) << e.what();
    }
  }
  // Comment lines and Windows line ends are allowed.
  std::string conComentarios = "# otra\r\n" + bueno;
  EXPECT_NO_THROW(lee(conComentarios));
}

TEST(Estadisticas, UnFicheroQueNoSePuedeLeerEsElError326) {
  try {
    EstadisticasLengua::LeeFichero("/no/existe/es.estadisticas");
    FAIL();
  } catch (const kestrin::ErrorORV& e) {
    EXPECT_EQ(e.numero(), kestrin::kRecursoNoEncontrado);
  }
}

TEST(Estadisticas, LasDeLaBibliotecaSonDelEspanolYDejanTextoFuera) {
  const auto e = EstadisticasEnUso();
  ASSERT_TRUE(e);
  EXPECT_GT(e->Excluidos(), 10000u);
  EXPECT_GT(e->Total(1), 100000u);
  // The space, then "e" and "a", are the commonest symbols.
  EXPECT_GT(e->Frecuencia(0), e->Frecuencia(5));
  EXPECT_GT(e->Frecuencia(5), e->Frecuencia(20));
  EXPECT_GT(e->IndiceCoincidencia(), 0.06);
  EXPECT_LT(e->IndiceCoincidencia(), 0.09);
  // After "qu" comes "e", hardly ever "z"; an unseen block still has a probability.
  EXPECT_GT(e->LogProbabilidad(U"·que"), std::log(0.5));
  EXPECT_LT(e->LogProbabilidad(U"·quz"), e->LogProbabilidad(U"·que") - 5);
  EXPECT_TRUE(std::isfinite(e->LogProbabilidad(U"\"\"\"\"")));
  EXPECT_THROW(e->LogProbabilidad(U"abcde"), kestrin::ErrorORV);
  EXPECT_THROW(e->LogProbabilidad(U""), kestrin::ErrorORV);
}

TEST(Estadisticas, OtrasEstadisticasSeUsanYUnFicheroMaloNoLasCambia) {
  char plantilla[] = "/tmp/orv_estadisticasXXXXXX";
  const int fd = mkstemp(plantilla);
  ASSERT_GE(fd, 0);
  close(fd);
  const std::string ruta = plantilla;
  {
    std::ofstream fichero(ruta);
    EstadisticasLengua::Cuenta(U"zzz zzz zzz").Escribe(fichero);
  }
  UsaEstadisticas(ruta);
  EXPECT_EQ(EstadisticasEnUso()->Total(1), 11u);
  {
    std::ofstream fichero(ruta, std::ios::trunc);
    fichero << "basura\n";
  }
  EXPECT_THROW(UsaEstadisticas(ruta), kestrin::ErrorORV);
  EXPECT_THROW(UsaEstadisticas("/no/existe"), kestrin::ErrorORV);
  EXPECT_EQ(EstadisticasEnUso()->Total(1), 11u);
  std::remove(ruta.c_str());
  UsaEstadisticas(RutaEstadisticas());
  EXPECT_GT(EstadisticasEnUso()->Total(1), 100000u);
}

}  // namespace
}  // namespace tarnel
