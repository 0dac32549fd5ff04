// The system-colour table and RGB colour values.
#include <gtest/gtest.h>

#include <QApplication>

#include "qtcomun/traducciones.h"

namespace qtcomun {
namespace {

// A palette in which every role of every group has a colour of its own, so a
// number read from the wrong role (or group) shows.
QPalette paletaDistinta() {
  QPalette p;
  for (int g = 0; g < QPalette::NColorGroups; ++g) {
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
      p.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), QColor(r * 10, 40 + g * 60, 99));
    }
  }
  return p;
}

struct CasoSistema {
  const char* nombre;
  uint32_t numero;
  QPalette::ColorGroup grupo;
  QPalette::ColorRole rol;
};

constexpr auto A = QPalette::Active;

const CasoSistema kSistema[] = {
    {"barra de desplazamiento", 0x00, A, QPalette::WindowText},
    {"escritorio", 0x01, A, QPalette::Dark},
    {"título activo", 0x02, A, QPalette::Highlight},
    {"título inactivo", 0x03, A, QPalette::WindowText},
    {"menú", 0x04, A, QPalette::Window},
    {"ventana", 0x05, A, QPalette::Base},
    {"marco de ventana", 0x06, A, QPalette::WindowText},
    {"texto de menú", 0x07, A, QPalette::WindowText},
    {"texto de ventana", 0x08, A, QPalette::WindowText},
    {"texto del título", 0x09, A, QPalette::HighlightedText},
    {"área de trabajo", 0x0C, A, QPalette::Dark},
    {"resaltado", 0x0D, A, QPalette::Highlight},
    {"texto resaltado", 0x0E, A, QPalette::HighlightedText},
    {"cara de botón", 0x0F, A, QPalette::Button},
    {"sombra de botón", 0x10, A, QPalette::Dark},
    {"texto gris", 0x11, QPalette::Disabled, QPalette::Text},
    {"texto de botón", 0x12, A, QPalette::ButtonText},
    {"luz 3-D", 0x14, A, QPalette::Light},
    {"sombra oscura 3-D", 0x15, A, QPalette::Shadow},
    {"claro 3-D", 0x16, A, QPalette::Midlight},
    {"texto de ayuda", 0x17, A, QPalette::ToolTipText},
    {"fondo de ayuda", 0x18, A, QPalette::ToolTipBase},
    {"número desconocido", 0x40, A, QPalette::WindowText},
};

TEST(TablaColores, SystemColourNumbersReadTheirPaletteRole) {
  const QPalette paleta = paletaDistinta();
  for (const auto& caso : kSistema) {
    EXPECT_EQ(color(0x80000000u | caso.numero, paleta), paleta.color(caso.grupo, caso.rol))
        << caso.nombre;
  }
}

TEST(TablaColores, RgbValuesHaveRedInTheLowByte) {
  const QPalette paleta = paletaDistinta();
  struct Caso {
    uint32_t valor;
    QColor color;
  };
  for (const Caso& c : {Caso{0x000000FF, QColor(255, 0, 0)}, Caso{0x0000FF00, QColor(0, 255, 0)},
                        Caso{0x00FF0000, QColor(0, 0, 255)}, Caso{0x00123456, QColor(0x56, 0x34, 0x12)},
                        Caso{0x7F123456, QColor(0x56, 0x34, 0x12)}}) {
    EXPECT_EQ(color(c.valor, paleta), c.color) << std::hex << c.valor;
    EXPECT_EQ(color(c.valor), c.color) << std::hex << c.valor;
  }
}

TEST(TablaColores, WithoutAPaletteTheApplicationsIsRead) {
  const QPalette antes = QApplication::palette();
  const QPalette paleta = paletaDistinta();
  QApplication::setPalette(paleta);
  for (const auto& caso : kSistema) {
    EXPECT_EQ(color(0x80000000u | caso.numero), paleta.color(caso.grupo, caso.rol)) << caso.nombre;
  }
  QApplication::setPalette(antes);
}

}  // namespace
}  // namespace qtcomun
