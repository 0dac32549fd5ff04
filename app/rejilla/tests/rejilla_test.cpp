// The grid: numbering, texts, formats, sorting, editing and notifications.
#include "rejilla/rejilla.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "kestrin/errores.h"

namespace orv {
namespace {

class RejillaTest : public testing::Test {
 protected:
  void SetUp() override {
    ventana.resize(400, 300);
    r = new Rejilla(&ventana);
    r->setGeometry(0, 0, 400, 300);
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  }
  QWidget ventana;
  Rejilla* r = nullptr;
};

TEST_F(RejillaTest, CellsAreNumberedFromTheFixedHeaderAndReadBackAsWritten) {
  struct Caso {
    int fijasF, fijasC;
  };
  for (const Caso caso : {Caso{1, 1}, Caso{1, 0}, Caso{0, 0}, Caso{2, 1}}) {
    r->setFilasFijas(caso.fijasF);
    r->setColumnasFijas(caso.fijasC);
    r->setFilas(4);
    r->setColumnas(3);
    EXPECT_EQ(r->Filas(), 4);
    EXPECT_EQ(r->Columnas(), 3);
    for (int f = 0; f < 4; ++f)
      for (int c = 0; c < 3; ++c) r->setTexto(f, c, QStringLiteral("%1,%2").arg(f).arg(c));
    for (int f = 0; f < 4; ++f)
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(r->Texto(f, c), QStringLiteral("%1,%2").arg(f).arg(c))
            << caso.fijasF << caso.fijasC << " celda " << f << "," << c;
    EXPECT_THROW(r->Texto(4, 0), kestrin::ErrorSubindice);
    EXPECT_THROW(r->setTexto(0, 3, QString()), kestrin::ErrorSubindice);
    EXPECT_THROW(r->Texto(-1, 0), kestrin::ErrorSubindice);
  }
  // The header row shows in the table's frozen header.
  r->setFilasFijas(1);
  r->setColumnasFijas(1);
  r->setTexto(0, 1, QStringLiteral("a"));
  EXPECT_EQ(r->tabla()->horizontalHeaderItem(0)->text(), QStringLiteral("a"));
  // One row leaves only the header, which keeps its texts.
  r->setFilas(1);
  EXPECT_EQ(r->Filas(), 1);
  EXPECT_EQ(r->tabla()->rowCount(), 0);
  EXPECT_EQ(r->Texto(0, 1), QStringLiteral("a"));
  r->setFilas(3);
  EXPECT_EQ(r->Texto(2, 2), QString());
}

TEST_F(RejillaTest, ChangingTheFixedCountKeepsEveryTextInPlace) {
  r->setFilas(3);
  r->setColumnas(3);
  for (int f = 0; f < 3; ++f)
    for (int c = 0; c < 3; ++c) r->setTexto(f, c, QString::number(10 * f + c));
  r->setColumnasFijas(0);
  r->setFilasFijas(0);
  for (int f = 0; f < 3; ++f)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(r->Texto(f, c), QString::number(10 * f + c));
}

TEST_F(RejillaTest, ColumnFormatShowsNumbersAndKeepsTheText) {
  r->setColumnas(3);
  r->setFilas(3);
  r->setFormatoColumna(1, QStringLiteral("0.000"));
  r->setFormatoColumna(2, QStringLiteral("0"));
  r->setTexto(1, 1, QStringLiteral("0,0801"));
  r->setTexto(2, 1, QStringLiteral("texto"));
  r->setTexto(1, 2, QStringLiteral("7.6"));
  EXPECT_EQ(r->Texto(1, 1), QStringLiteral("0,0801"));
  QString mostrado = r->TextoMostrado(1, 1);
  mostrado.replace(QLatin1Char(','), QLatin1Char('.'));
  EXPECT_EQ(mostrado, QStringLiteral("0.080"));
  EXPECT_EQ(r->TextoMostrado(2, 1), QStringLiteral("texto"));
  EXPECT_EQ(r->TextoMostrado(1, 2), QStringLiteral("8"));
}

TEST_F(RejillaTest, SortIsAscendingNumericWhereNumbersAndMovesWholeRows) {
  r->setFilas(6);
  r->setColumnas(3);
  const char* claves[] = {"10", "9", "b", "A", "9"};
  for (int f = 1; f <= 5; ++f) {
    r->setTexto(f, 0, QString::number(f));
    r->setTexto(f, 1, QString::fromLatin1(claves[f - 1]));
    r->setTexto(f, 2, QStringLiteral("fila%1").arg(f));
    r->setDatoCelda(f, 2, f);
  }
  r->setColorFondoCelda(1, 2, 0x0000FF);
  r->Selecciona(1, 1, 5, 1);
  r->Ordena();
  const char* esperado[][2] = {{"9", "fila2"}, {"9", "fila5"}, {"10", "fila1"}, {"A", "fila4"}, {"b", "fila3"}};
  for (int f = 1; f <= 5; ++f) {
    EXPECT_EQ(r->Texto(f, 1), QString::fromLatin1(esperado[f - 1][0])) << f;
    EXPECT_EQ(r->Texto(f, 2), QString::fromLatin1(esperado[f - 1][1])) << f;
  }
  EXPECT_EQ(r->DatoCelda(3, 2).toInt(), 1);
  EXPECT_EQ(r->ColorFondoCelda(3, 2), 0x0000FFu);
  EXPECT_EQ(r->Texto(3, 0), QStringLiteral("1"));  // the header cell moved with its row
}

TEST_F(RejillaTest, DescendingSortPutsTheLargestFirstAndKeepsEqualKeysInOrder) {
  r->setFilas(6);
  r->setColumnas(3);
  const char* claves[] = {"2", "10", "b", "2", "9"};
  for (int f = 1; f <= 5; ++f) {
    r->setTexto(f, 1, QString::fromLatin1(claves[f - 1]));
    r->setTexto(f, 2, QStringLiteral("fila%1").arg(f));
  }
  r->Selecciona(1, 1, 5, 1);
  r->Ordena(Rejilla::GenericoDescendente);
  const char* esperado[][2] = {{"b", "fila3"}, {"10", "fila2"}, {"9", "fila5"}, {"2", "fila1"}, {"2", "fila4"}};
  for (int f = 1; f <= 5; ++f) {
    EXPECT_EQ(r->Texto(f, 1), QString::fromLatin1(esperado[f - 1][0])) << f;
    EXPECT_EQ(r->Texto(f, 2), QString::fromLatin1(esperado[f - 1][1])) << f;
  }
}

TEST_F(RejillaTest, EditingAsksBeforeStartingAndBeforeCommitting) {
  r->setFilas(3);
  r->setColumnas(3);
  r->setTexto(1, 1, QStringLiteral("viejo"));
  std::vector<std::pair<int, int>> antes, despues;
  bool cancelarInicio = false;
  bool cancelarFin = false;
  r->eventos.AntesDeEditar.conecta([&](int32_t f, int32_t c, bool& cancela) {
    antes.emplace_back(f, c);
    cancela = cancelarInicio;
  });
  r->eventos.ValidaEdicion.conecta([&](int32_t, int32_t, QString& t, bool& cancela) {
    cancela = cancelarFin;
    t = t.toUpper();
  });
  r->eventos.DespuesDeEditar.conecta([&](int32_t f, int32_t c) { despues.emplace_back(f, c); });
  r->setFila(1);
  r->setColumna(1);
  EXPECT_EQ(r->Fila(), 1);
  EXPECT_EQ(r->Columna(), 1);

  r->Edita();  // not editable: nothing starts
  EXPECT_FALSE(r->editando());
  EXPECT_TRUE(antes.empty());

  r->setEditable(true);
  cancelarInicio = true;
  r->Edita();
  EXPECT_FALSE(r->editando());
  ASSERT_EQ(antes.size(), 1u);
  EXPECT_EQ(antes[0], std::make_pair(1, 1));

  auto escribeYConfirma = [&](const QString& t) {
    r->Edita();
    ASSERT_TRUE(r->editando());
    r->setTextoEdicion(t);
    EXPECT_EQ(r->TextoEdicion(), t);
    auto* editor = qobject_cast<QLineEdit*>(r->tabla()->indexWidget(r->tabla()->currentIndex()));
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits on the next turn
    EXPECT_FALSE(r->editando());
  };
  cancelarInicio = false;
  escribeYConfirma(QStringLiteral("nuevo"));
  EXPECT_EQ(r->Texto(1, 1), QStringLiteral("NUEVO"));
  EXPECT_EQ(despues, (std::vector<std::pair<int, int>>{{1, 1}}));

  cancelarFin = true;
  escribeYConfirma(QStringLiteral("rechazado"));
  EXPECT_EQ(r->Texto(1, 1), QStringLiteral("NUEVO"));
  EXPECT_EQ(despues.size(), 1u);

  // A cell can be closed to editing on its own.
  cancelarFin = false;
  r->setCeldaEditable(1, 1, false);
  r->Edita();
  EXPECT_FALSE(r->editando());
}

TEST_F(RejillaTest, CurrentCellAndMouseNotifications) {
  r->setFilas(5);
  r->setColumnas(4);
  int cambios = 0;
  r->eventos.CeldaCambiada.conecta([&] { ++cambios; });
  r->setFila(3);
  EXPECT_EQ(cambios, 1);
  EXPECT_EQ(r->Fila(), 3);
  r->setColumna(2);
  EXPECT_EQ(cambios, 2);
  EXPECT_EQ(r->Columna(), 2);

  r->setTexto(2, 2, QStringLiteral("x"));
  const QRect celda = r->tabla()->visualItemRect(r->tabla()->item(1, 1));
  QTest::mouseMove(r->tabla()->viewport(), celda.center());
  EXPECT_EQ(r->FilaRaton(), 2);
  EXPECT_EQ(r->ColumnaRaton(), 2);
  r->setTextoAyuda(QStringLiteral("I.C. Medio = 0,065"));
  EXPECT_EQ(r->TextoAyuda(), QStringLiteral("I.C. Medio = 0,065"));
}

TEST_F(RejillaTest, OutlineRowsKeepTheirLevel) {
  r->setFilas(4);
  r->setEsNodo(1, true);
  r->setNivelEsquema(2, 1);
  EXPECT_TRUE(r->EsNodo(1));
  EXPECT_FALSE(r->EsNodo(2));
  EXPECT_EQ(r->NivelEsquema(2), 1);
  EXPECT_EQ(r->NivelEsquema(3), 0);
}

TEST_F(RejillaTest, HeaderAlignmentAndScrollBars) {
  r->setColumnas(3);
  r->setTexto(0, 1, QStringLiteral("Frec."));
  EXPECT_EQ(r->AlineacionFija(1), CentroCentro);
  r->setAlineacionFija(1, DerechaCentro);
  EXPECT_EQ(r->tabla()->horizontalHeaderItem(0)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
  r->setAlineacionFija(2, IzquierdaCentro);
  r->setTexto(0, 2, QStringLiteral("Car."));
  EXPECT_EQ(r->tabla()->horizontalHeaderItem(1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
  r->setBarrasDesplazamiento(Rejilla::BarraVertical, true);
  EXPECT_EQ(r->tabla()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(r->tabla()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_GT(r->anchoBarraVertical(), 0);
}

TEST_F(RejillaTest, WidthsAreInTwips) {
  r->setColumnas(3);
  r->setAnchoColumna(1, 1500);
  EXPECT_EQ(r->AnchoColumna(1), 1500);
  EXPECT_GT(r->AnchoInterior(), 0);
  EXPECT_EQ(r->AnchoInterior() % 15, 0);
  r->setRedibujo(false);
  EXPECT_FALSE(r->Redibujo());
  r->setRedibujo(true);
}

}  // namespace
}  // namespace orv
