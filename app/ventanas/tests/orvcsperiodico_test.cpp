// The Vigenère and XOR laboratories driven as a user would: the key word and
// the two buttons, the three stages of the attack through their tabs, buttons,
// grids and the key list, and what the window refuses.
#include "orv/orvcsperiodico.h"

#include <gtest/gtest.h>

#include "ayudas_prueba.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <fstream>
#include <sstream>
#include <type_traits>

#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "orv/graficoperiodos.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "qtcomun/traducciones.h"
#include "rejilla/rejilla.h"
#include "tarnel/alfabeto.h"
#include "tarnel/criptoperiodico.h"

namespace orv {
namespace {

// Spanish prose enough for the stages to give numbers (about 750 characters).
const QString kProsa = QStringLiteral(
    "En un lugar de la Mancha, de cuyo nombre no quiero acordarme, no ha mucho tiempo que vivía "
    "un hidalgo de los de lanza en astillero, adarga antigua, rocín flaco y galgo corredor. Una "
    "olla de algo más vaca que carnero, salpicón las más noches, duelos y quebrantos los "
    "sábados, lentejas los viernes, algún palomino de añadidura los domingos, consumían las tres "
    "partes de su hacienda. El resto della concluían sayo de velarte, calzas de velludo para las "
    "fiestas con sus pantuflos de lo mismo, los días de entre semana se honraba con su vellorí "
    "de lo más fino. Tenía en su casa una ama que pasaba de los cuarenta, y una sobrina que no "
    "llegaba a los veinte, y un mozo de campo y plaza, que así ensillaba el rocín como tomaba la "
    "podadera.");

// A colour as the grid reports a cell's: red in the low byte.
uint32_t rgb(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
         (static_cast<uint32_t>(c.blue()) << 16);
}

// The text as the ciphers keep it: the folded symbols of the alphabet.
QString plegado(const QString& texto) {
  QString r;
  for (const char32_t c : texto.toStdU32String()) {
    const int v = tarnel::alfabeto::valor(c);
    if (v >= 0) r += QString::fromUcs4(std::u32string(1, tarnel::alfabeto::simbolo(v)).data(), 1);
  }
  return r;
}

using prueba::corpus;

template <typename W>
class ORVCSPeriodicoTest : public testing::Test {
 protected:
  static constexpr bool kXOR = std::is_same_v<W, ORVCSXOR>;

  static void SetUpTestSuite() {
    registraBibliotecas();
    instalaProcesaEventos();
  }

  void SetUp() override {
    formato = ORVW().Formato();
    v = nuevaVentana();
  }
  void TearDown() override { ORVW().setFormato(formato); }

  std::unique_ptr<W> nuevaVentana() {
    auto w = std::make_unique<W>();
    w->avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
    w->informa = [this](const QString& titulo, const QString& texto) {
      informes << titulo + ": " + texto;
    };
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
  }

  static void pestana(QTabBar* barra, int i) {
    QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(i).center());
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  static void escribe(QLineEdit* caja, const QString& texto) {
    caja->setFocus();
    caja->selectAll();
    QTest::keyClick(caja, Qt::Key_Delete);
    QTest::keyClicks(caja, texto);
  }
  static QPoint centro(Rejilla* g, int32_t f, int32_t c) {
    QTableWidget* t = g->tabla();
    const QModelIndex i = t->model()->index(f - 1, c - 1);
    t->scrollTo(i);
    return t->visualRect(i).center();
  }
  static void clic(Rejilla* g, int32_t f, int32_t c) {
    QTest::mouseClick(g->tabla()->viewport(), Qt::LeftButton, {}, centro(g, f, c));
  }

  // Enciphers `texto` with `clave` on the first page, as the student does.
  void cifra(const QString& texto, const QString& clave) {
    pestana(v->tsCripto(), 0);
    v->TxtTO()->area()->setPlainText(texto);
    escribe(v->TxtClave(), clave);
    pulsa(v->cmdCifra());
  }
  // Stage 1 with that maximum period, from the analysis page.
  void periodo(const QString& maximo) {
    pestana(v->tsCripto(), 1);
    pestana(v->tsAnaliza(), 0);
    escribe(v->txtMaxM()->caja(), maximo);
    pulsa(v->CmdPeriodo());
  }
  // Types a period and leaves the box with the tab key.
  void tecleaPeriodo(const QString& p) {
    escribe(v->TextPeriodo(), p);
    QTest::keyClick(v->TextPeriodo(), Qt::Key_Tab);
  }
  // The entries of the key list.
  QStringList candidatas() const {
    QStringList r;
    for (int i = 0; i < v->CbClave()->count(); ++i) r << v->CbClave()->itemText(i);
    return r;
  }
  // A cell's background as red, green and blue: a cell the window never
  // coloured reports the grid's own colour, which may be a system colour.
  static uint32_t fondo(Rejilla* g, int32_t f, int32_t c) {
    const uint32_t valor = g->ColorFondoCelda(f, c);
    return (valor & 0x80000000u) != 0 ? rgb(qtcomun::color(valor, g->tabla()->palette())) : valor;
  }
  uint32_t seleccion(Rejilla* g) const {
    return rgb(g->tabla()->palette().color(QPalette::Highlight));
  }
  uint32_t normal(Rejilla* g) const { return rgb(g->tabla()->palette().color(QPalette::Base)); }

  kestrin::FormatoNumerico formato;
  std::unique_ptr<W> v;
  QStringList avisos;
  QStringList informes;
};

using Ventanas = testing::Types<ORVCSVigenere, ORVCSXOR>;
TYPED_TEST_SUITE(ORVCSPeriodicoTest, Ventanas);

TYPED_TEST(ORVCSPeriodicoTest, LoadsWithItsCaptionsTabsAndFirstTexts) {
  auto& v = this->v;
  EXPECT_EQ(v->windowTitle(), this->kXOR ? QStringLiteral("Criptosistema XOR simple")
                                         : QStringLiteral("Criptosistema Vigenère"));
  EXPECT_FALSE(v->windowIcon().isNull());
  EXPECT_EQ(v->tsCripto()->tabText(0), QStringLiteral("Cifrado"));
  EXPECT_EQ(v->tsCripto()->tabText(1), QStringLiteral("Criptoanálisis"));
  EXPECT_EQ(v->tsCripto()->tabData(0).toString(), QStringLiteral("cifracion"));
  EXPECT_EQ(v->tsCripto()->tabData(1).toString(), QStringLiteral("analisis"));
  EXPECT_EQ(v->tsAnaliza()->tabText(0), QStringLiteral("Periodo"));
  EXPECT_EQ(v->tsAnaliza()->tabText(1), QStringLiteral("Desplazamientos"));
  EXPECT_EQ(v->tsAnaliza()->tabText(2), QStringLiteral("Clave"));
  EXPECT_TRUE(v->Panel(0)->isVisible());
  EXPECT_EQ(v->txtTC()->KeysAccepted(), this->kXOR ? kestrin::CSKXOR : kestrin::CSKVig);
  EXPECT_EQ(v->txtTC()->BackColor(), 0xE0E0E0u);
  EXPECT_EQ(v->TxtTO()->FontName(), QStringLiteral("Arial"));
  EXPECT_FLOAT_EQ(v->TxtTO()->FontSize(), 9.75F);
  EXPECT_EQ(v->cmdCifra()->Caption(), QStringLiteral("Cifra"));
  EXPECT_EQ(v->cmdDescifra()->Caption(), QStringLiteral("Descifra"));
  EXPECT_EQ(v->CmdPeriodo()->Caption(), QStringLiteral("Analiza"));
  EXPECT_EQ(v->CmdDesplazamientos()->Caption(), QStringLiteral("Analiza"));
  EXPECT_EQ(v->txtMaxM()->texto(), QStringLiteral("10"));
  EXPECT_EQ(v->TextPeriodo()->text(), QString());
  EXPECT_EQ(v->FlexIC()->Filas(), 1);
  EXPECT_EQ(v->FlexIC()->Columnas(), 2);
  EXPECT_EQ(v->FlexIC()->Texto(0, 0), QStringLiteral("Periodo"));
  EXPECT_EQ(v->FlexICM()->Filas(), 1);
  EXPECT_EQ(v->FlexICM()->Texto(0, 0), QStringLiteral("Despl."));
  EXPECT_EQ(v->FlexICM()->Texto(0, 1), QStringLiteral("1-2"));
  EXPECT_EQ(v->CbClave()->count(), 0);

  // "Cifra" only on the enciphering page; the analysis opens on stage 1,
  // its progress panel hidden until a search runs.
  this->pestana(v->tsCripto(), 1);
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  EXPECT_TRUE(v->PanelAnalisis(0)->isVisible());
  EXPECT_FALSE(v->PanelProgreso()->isVisible());
  // The arrows of the maximum period stop at 1 and 40.
  for (int i = 0; i < 50; ++i) QTest::keyClick(v->txtMaxM(), Qt::Key_Up);
  EXPECT_EQ(v->txtMaxM()->texto(), QStringLiteral("40"));
  for (int i = 0; i < 50; ++i) QTest::keyClick(v->txtMaxM(), Qt::Key_Down);
  EXPECT_EQ(v->txtMaxM()->texto(), QStringLiteral("1"));
  this->pestana(v->tsCripto(), 0);
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
}

TYPED_TEST(ORVCSPeriodicoTest, EnciphersAndDeciphersWithTheKeyWordAndRefusesAnEmptyKey) {
  auto& v = this->v;
  this->cifra(QStringLiteral("Hola, mundo"), QStringLiteral("ab"));
  const auto cifrado = v->txtTC()->CSTexto();
  EXPECT_EQ(cifrado, v->cs().TextoCifrado());
  EXPECT_EQ(cifrado->Key(), this->kXOR ? kestrin::CSKXOR : kestrin::CSKVig);
  // "a" is 1 and "b" is 2: "h" (8) becomes 9 ("i") in both systems; "o" (16)
  // becomes 18 ("q") by adding and 18 by exclusive or too.
  EXPECT_EQ(QString::fromStdU32String(cifrado->Texto()).left(2), QStringLiteral("iq"));
  EXPECT_EQ(v->cs().Clave(), U"ab");

  v->TxtTO()->area()->clear();
  this->pulsa(v->cmdDescifra());
  EXPECT_EQ(QString::fromStdU32String(v->TxtTO()->CSTexto()->Texto()),
            QStringLiteral("hola,·mundo"));
  EXPECT_TRUE(this->avisos.isEmpty());

  // A key with no symbol of the alphabet: a message, and the texts stay.
  for (const QString& clave : {QString(), QStringLiteral("#$|")}) {
    this->escribe(v->TxtClave(), clave);
    this->pulsa(v->cmdCifra());
    this->pulsa(v->cmdDescifra());
    EXPECT_EQ(v->txtTC()->CSTexto(), cifrado);
  }
  ASSERT_EQ(this->avisos.size(), 4);
  EXPECT_TRUE(this->avisos[0].startsWith(QStringLiteral("Clave errónea: Escriba una clave")));
}

TYPED_TEST(ORVCSPeriodicoTest, TheCiphertextBoxTakesOnlyItsOwnSystemsTexts) {
  auto& v = this->v;
  QTemporaryDir carpeta;
  ASSERT_TRUE(carpeta.isValid());
  QStringList refusals;
  v->txtTC()->avisa = [&](const QString& titulo, const QString&) { refusals << titulo; };
  struct Caso {
    int32_t clave;
    const char* texto;
    bool admitido;
  };
  const int32_t propia = this->kXOR ? kestrin::CSKXOR : kestrin::CSKVig;
  const int32_t otra = this->kXOR ? kestrin::CSKVig : kestrin::CSKXOR;
  const Caso casos[] = {{propia, "kfmb", true},
                        {otra, "kfmb", false},
                        {kestrin::CSKAfin, "kfmb", false},
                        {kestrin::CSKNone, "hola", false},
                        {otra, "", true},
                        {propia, "zz", true}};
  int n = 0;
  for (const Caso& c : casos) {
    // The box's open button, reading a file as the program writes them.
    const QString ruta = carpeta.filePath(QStringLiteral("t%1.ORV").arg(n++));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QString::fromStdU32String(kestrin::etiqueta::escribe(c.clave)).toLatin1() + c.texto);
    f.close();
    v->txtTC()->pideFichero = [ruta](bool, const QString&, const QString&) { return ruta; };
    const auto antes = v->txtTC()->CSTexto();
    const qsizetype rechazos = refusals.size();
    v->txtTC()->Comando(QStringLiteral("abrir"));
    if (c.admitido) {
      EXPECT_EQ(QString::fromStdU32String(v->txtTC()->CSTexto()->Texto()),
                QString::fromLatin1(c.texto))
          << c.clave;
      EXPECT_EQ(v->cs().TextoCifrado(), v->txtTC()->CSTexto());
      EXPECT_EQ(refusals.size(), rechazos);
    } else {
      EXPECT_EQ(v->txtTC()->CSTexto(), antes) << c.clave;
      EXPECT_EQ(refusals.size(), rechazos + 1) << c.clave;
    }
  }
}

TYPED_TEST(ORVCSPeriodicoTest, StageOneFillsATriangleAndMarksTheEstimatedPeriod) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("clave"));
  this->periodo(QStringLiteral("10"));
  EXPECT_TRUE(this->avisos.isEmpty());
  const tarnel::CriptoPeriodico& cs = v->cs();
  Rejilla* g = v->FlexIC();
  ASSERT_EQ(g->Filas(), 11);
  ASSERT_EQ(g->Columnas(), 11);
  EXPECT_EQ(cs.MaxPeriodo(), 10);
  const int32_t p = cs.Periodo();
  EXPECT_EQ(p, 5);
  EXPECT_EQ(v->TextPeriodo()->text(), QString::number(p));
  EXPECT_FALSE(v->PanelProgreso()->isVisible());
  // Inicio reaches both bars; the progress, only the bar of the page shown.
  EXPECT_EQ(v->ProgressBarPeriodo()->maximum(), 10);
  EXPECT_EQ(v->ProgressBarPeriodo()->value(), 10);
  EXPECT_EQ(v->ProgressBar()->maximum(), 10);
  EXPECT_EQ(v->ProgressBar()->value(), 0);
  for (int32_t m = 1; m <= 10; ++m) {
    EXPECT_EQ(g->Texto(0, m), QStringLiteral("Col. %1").arg(m));
    EXPECT_EQ(g->Texto(m, 0), QString::number(m));
    EXPECT_EQ(g->FormatoColumna(m), QStringLiteral("0.000"));
    EXPECT_EQ(g->AnchoColumna(m), g->AnchoColumna(0));
    for (int32_t k = 1; k <= 10; ++k) {
      const QString esperado = k <= m ? numeroMostrado(cs.IC(m, k).aDouble(), 4) : QString();
      EXPECT_EQ(g->Texto(m, k), esperado) << m << "," << k;
    }
    // The estimated period's whole row in the selection colours, the others in the normal ones.
    for (int32_t c = 0; c <= 10; ++c) {
      EXPECT_EQ(this->fondo(g, m, c), m == p ? this->seleccion(g) : this->normal(g))
          << m << "," << c;
    }
    EXPECT_EQ(
        g->ColorTextoCelda(m, 1),
        rgb(g->tabla()->palette().color(m == p ? QPalette::HighlightedText : QPalette::Text)));
  }
  // An index of four decimals shows three.
  EXPECT_EQ(g->TextoMostrado(1, 1).size(), 5);

  // Enciphering another text discards the table.
  this->cifra(QStringLiteral("otro texto"), QStringLiteral("clave"));
  EXPECT_EQ(g->Filas(), 1);
  EXPECT_EQ(g->Columnas(), 2);
}

TYPED_TEST(ORVCSPeriodicoTest, TheToolTipShowsTheMeanAndVarianceOfTheRowUnderTheMouse) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("clave"));
  this->periodo(QStringLiteral("10"));
  Rejilla* g = v->FlexIC();
  const tarnel::CriptoPeriodico& cs = v->cs();

  QTest::mouseMove(g->tabla()->viewport(), this->centro(g, 3, 2));
  const QString ayuda = g->TextoAyuda();
  EXPECT_EQ(ayuda, QStringLiteral("I.C. Medio = %1 var = %2")
                       .arg(numeroMostrado(cs.MediaIC(3).aDouble(), 4),
                            numeroMostrado(cs.VarianzaIC(3).aDouble(), 4)));
  // The mean is that of the three indices in the row.
  const double media = (cs.IC(3, 1).aDouble() + cs.IC(3, 2).aDouble() + cs.IC(3, 3).aDouble()) / 3;
  QString mostrado = ayuda.section(QLatin1Char(' '), 3, 3);
  EXPECT_NEAR(mostrado.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(), media, 2e-4);

  QTest::mouseMove(g->tabla()->horizontalHeader()->viewport(),
                   g->tabla()->horizontalHeader()->viewport()->rect().center());
  EXPECT_EQ(g->TextoAyuda(), QString());
  QTest::mouseMove(g->tabla()->viewport(), this->centro(g, 7, 1));
  EXPECT_TRUE(g->TextoAyuda().startsWith(
      QStringLiteral("I.C. Medio = %1 ").arg(numeroMostrado(cs.MediaIC(7).aDouble(), 4))));
}

TYPED_TEST(ORVCSPeriodicoTest, AnotherPeriodIsChosenByItsRowOrByTypingIt) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("clave"));
  this->periodo(QStringLiteral("10"));
  ASSERT_EQ(v->cs().Periodo(), 5);

  this->clic(v->FlexIC(), 4, 2);
  EXPECT_EQ(v->cs().Periodo(), 4);
  EXPECT_EQ(v->TextPeriodo()->text(), QStringLiteral("4"));
  // The estimated row keeps its mark.
  EXPECT_EQ(this->fondo(v->FlexIC(), 5, 1), this->seleccion(v->FlexIC()));

  struct Caso {
    const char* texto;
    int32_t periodo;
    bool aviso;
  };
  // Below 1 or no number: the period stays, and the box shows it again;
  // beyond 40 a message says why.
  const Caso casos[] = {{"7", 7, false},   {"0", 7, false},   {"abc", 7, false},
                        {"-3", 7, false},  {"41", 7, true},   {"40", 40, false},
                        {"2,4", 2, false}, {"2.4", 2, false}, {"3", 3, false}};
  for (const Caso& c : casos) {
    ORVW().setFormato({QString::fromLatin1(c.texto).contains(QLatin1Char(',')) ? U',' : U'.', 0});
    const qsizetype antes = this->avisos.size();
    this->tecleaPeriodo(QString::fromLatin1(c.texto));
    EXPECT_EQ(v->cs().Periodo(), c.periodo) << c.texto;
    EXPECT_EQ(v->TextPeriodo()->text(), QString::number(c.periodo)) << c.texto;
    EXPECT_EQ(this->avisos.size(), antes + (c.aviso ? 1 : 0)) << c.texto;
  }
  EXPECT_EQ(this->avisos.last(), QStringLiteral("Periodo: El periodo debe estar entre 1 y 40."));
  // The return key takes the period too.
  this->escribe(v->TextPeriodo(), QStringLiteral("6"));
  QTest::keyClick(v->TextPeriodo(), Qt::Key_Return);
  EXPECT_EQ(v->cs().Periodo(), 6);
}

TYPED_TEST(ORVCSPeriodicoTest, StageTwoListsEveryPairAndShiftAndMarksTheChosenShift) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("clave"));
  this->periodo(QStringLiteral("10"));
  this->tecleaPeriodo(QStringLiteral("4"));
  ASSERT_EQ(v->cs().Periodo(), 4);
  this->pestana(v->tsAnaliza(), 1);
  EXPECT_TRUE(v->PanelAnalisis(1)->isVisible());
  Rejilla* g = v->FlexICM();
  ASSERT_EQ(g->Columnas(), 7);
  ASSERT_EQ(g->Filas(), 65);
  const QStringList cabeceras{"1-2", "1-3", "1-4", "2-3", "2-4", "3-4"};
  const std::pair<int, int> pares[] = {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}};
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(g->Texto(0, k), cabeceras[k - 1]);
    EXPECT_EQ(g->DatoColumna(k).toInt(), pares[k - 1].first);
    EXPECT_EQ(g->DatoCelda(0, k).toInt(), pares[k - 1].second);
    EXPECT_EQ(g->Texto(1, k), QString());  // no search yet
  }

  this->pulsa(v->CmdDesplazamientos());
  const tarnel::CriptoPeriodico& cs = v->cs();
  EXPECT_EQ(v->ProgressBar()->maximum(), 65 * 6);
  EXPECT_EQ(v->ProgressBar()->value(), 65 * 6);
  EXPECT_EQ(v->ProgressBarPeriodo()->maximum(), 65 * 6);
  EXPECT_EQ(v->ProgressBarPeriodo()->value(), 0);
  EXPECT_EQ(g->FormatoColumna(0), QStringLiteral("0"));
  for (int32_t d = 0; d < 64; ++d) {
    EXPECT_EQ(g->Texto(d + 1, 0), QString::number(d));
    for (int k = 1; k <= 6; ++k) {
      const auto [i, j] = pares[k - 1];
      ASSERT_EQ(g->Texto(d + 1, k), numeroMostrado(cs.ICM(i, j, d).aDouble(), 4)) << d << "," << k;
      const bool elegido = cs.Desplazamiento(i, j) == d;
      EXPECT_EQ(this->fondo(g, d + 1, k), elegido ? this->seleccion(g) : this->normal(g));
    }
  }

  // Back to the page from the key stage: the results are still there. A new
  // period lays the grid out afresh, empty.
  this->pestana(v->tsAnaliza(), 2);
  this->pestana(v->tsAnaliza(), 1);
  EXPECT_EQ(g->Texto(1, 1), numeroMostrado(cs.ICM(1, 2, 0).aDouble(), 4));
  this->pestana(v->tsAnaliza(), 0);
  this->tecleaPeriodo(QStringLiteral("3"));
  this->pestana(v->tsAnaliza(), 1);
  EXPECT_EQ(g->Columnas(), 4);
  EXPECT_EQ(g->Texto(0, 3), QStringLiteral("2-3"));
  EXPECT_EQ(g->Texto(1, 1), QString());
  EXPECT_EQ(this->fondo(g, 1 + 0, 1), this->normal(g));
  EXPECT_TRUE(this->avisos.isEmpty());
}

TYPED_TEST(ORVCSPeriodicoTest, AClickOnAShiftCorrectsThatPairBeforeTheKeyStage) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("clave"));
  this->periodo(QStringLiteral("10"));
  this->tecleaPeriodo(QStringLiteral("4"));
  this->pestana(v->tsAnaliza(), 1);
  this->pulsa(v->CmdDesplazamientos());
  Rejilla* g = v->FlexICM();
  const tarnel::CriptoPeriodico& cs = v->cs();
  const int32_t buscado = cs.Desplazamiento(1, 3);
  const int32_t otro = cs.Desplazamiento(2, 4);
  ASSERT_NE(buscado, 5);

  this->clic(g, 5 + 1, 2);  // shift 5, pair (1, 3)
  EXPECT_EQ(cs.Desplazamiento(1, 3), 5);
  EXPECT_EQ(cs.Desplazamiento(2, 4), otro);
  const uint32_t ayuda = rgb(qtcomun::color(0x80000018));
  for (int32_t f = 1; f <= 64; ++f) {
    EXPECT_EQ(this->fondo(g, f, 2), f == 6 ? ayuda : this->normal(g)) << f;
    EXPECT_EQ(g->ColorTextoCelda(f, 2), rgb(g->tabla()->palette().color(QPalette::Text))) << f;
  }
  // The other pairs keep the search's mark.
  EXPECT_EQ(this->fondo(g, otro + 1, 5), this->seleccion(g));

  // The key stage works with the corrected shift.
  this->pestana(v->tsAnaliza(), 2);
  EXPECT_EQ(cs.Desplazamiento(1, 3), 5);
  EXPECT_EQ(this->candidatas().size(), 64);
  EXPECT_TRUE(this->avisos.isEmpty());
}

TYPED_TEST(ORVCSPeriodicoTest, TheKeyStageListsTheCandidatesAndDeciphersWithTheFirstAtOnce) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("clave"));
  this->periodo(QStringLiteral("10"));
  this->pestana(v->tsAnaliza(), 1);
  this->pulsa(v->CmdDesplazamientos());
  this->pestana(v->tsAnaliza(), 2);
  EXPECT_TRUE(v->PanelAnalisis(2)->isVisible());
  const QStringList lista = this->candidatas();
  ASSERT_EQ(lista.size(), 64);
  const int llenas = this->kXOR ? 64 : 28;
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(lista[i], QString::fromStdU32String(v->cs().ClaveProbable(i + 1))) << i;
    EXPECT_EQ(lista[i].size(), i < llenas ? 5 : 0) << i;
  }
  EXPECT_EQ(v->CbClave()->currentIndex(), 0);
  EXPECT_EQ(v->TxtClave()->text(), lista[0]);
  EXPECT_EQ(v->cs().Clave(), lista[0].toStdU32String());
  const QString descifrado = QString::fromStdU32String(v->cs().TextoOriginal()->Texto());
  EXPECT_EQ(QString::fromStdU32String(v->TextOriginal()->CSTexto()->Texto()), descifrado);
  EXPECT_EQ(v->TxtTO()->CSTexto(), v->cs().TextoOriginal());
  EXPECT_EQ(descifrado.size(), plegado(kProsa).size());
  EXPECT_TRUE(v->TextOriginal()->Locked());

  // An empty entry deciphers nothing and shows nothing.
  if (!this->kXOR) {
    v->CbClave()->setFocus();
    for (int i = 0; i < 30; ++i) QTest::keyClick(v->CbClave(), Qt::Key_Down);
    EXPECT_EQ(v->CbClave()->currentIndex(), 30);
    EXPECT_EQ(v->TxtClave()->text(), QString());
    EXPECT_TRUE(v->TextOriginal()->CSTexto()->Texto().empty());
  }
  EXPECT_TRUE(this->avisos.isEmpty());
}

TYPED_TEST(ORVCSPeriodicoTest, PeriodOneHasNoPairsAndShowsTheBarsFull) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("c"));
  this->periodo(QStringLiteral("10"));
  this->tecleaPeriodo(QStringLiteral("1"));
  this->pestana(v->tsAnaliza(), 1);
  Rejilla* g = v->FlexICM();
  EXPECT_EQ(g->Columnas(), 1);
  EXPECT_EQ(g->Filas(), 65);
  this->pulsa(v->CmdDesplazamientos());
  // Nothing to count: Inicio(0) shows both bars full.
  for (QProgressBar* b : {v->ProgressBar(), v->ProgressBarPeriodo()}) {
    EXPECT_EQ(b->maximum(), 1);
    EXPECT_EQ(b->value(), 1);
  }
  EXPECT_EQ(g->Texto(64, 0), QStringLiteral("63"));
  this->pestana(v->tsAnaliza(), 2);
  ASSERT_EQ(this->candidatas().size(), 64);
  EXPECT_EQ(this->candidatas()[0].size(), 1);
  EXPECT_TRUE(this->candidatas().contains(QStringLiteral("c")));
  EXPECT_TRUE(this->avisos.isEmpty());
}

// Before any period, and with a maximum period or a typical index that makes
// no sense, each stage says what is missing and changes nothing.
TYPED_TEST(ORVCSPeriodicoTest, WhatCannotBeAnalysedIsExplainedAndLeftAlone) {
  auto& v = this->v;
  int inicios = 0;
  v->cs().eventos.Inicio.conecta([&](int32_t&) { ++inicios; });
  this->pestana(v->tsCripto(), 1);
  // No period yet: the shifts page opens on the empty grid; its search and
  // the key stage ask for stage 1.
  this->pestana(v->tsAnaliza(), 1);
  EXPECT_TRUE(v->PanelAnalisis(1)->isVisible());
  EXPECT_EQ(v->FlexICM()->Columnas(), 2);
  this->pulsa(v->CmdDesplazamientos());
  this->pestana(v->tsAnaliza(), 2);
  EXPECT_EQ(v->CbClave()->count(), 0);
  ASSERT_EQ(this->avisos.size(), 2);
  EXPECT_EQ(this->avisos[0], QStringLiteral("Desplazamientos: Antes hay que determinar el periodo, "
                                            "en la etapa 1 (pestaña «Periodo»)."));
  EXPECT_TRUE(this->avisos[1].startsWith(QStringLiteral("Clave: Antes hay que determinar")));
  EXPECT_EQ(inicios, 0);

  this->cifra(kProsa, QStringLiteral("clave"));
  this->periodo(QStringLiteral("6"));
  ASSERT_EQ(v->FlexIC()->Filas(), 7);
  ASSERT_EQ(inicios, 1);
  this->avisos.clear();
  for (const char* maximo : {"0", "41", "-3", "abc", "", "99999999999"}) {
    this->periodo(QString::fromLatin1(maximo));
    EXPECT_EQ(this->avisos.size(), 1) << maximo;
    EXPECT_EQ(this->avisos.value(0),
              QStringLiteral("Periodo: Escriba como periodo máximo un número entre 1 y 40."))
        << maximo;
    this->avisos.clear();
  }
  ORVW().setFormato({U'.', 0});
  this->escribe(v->TextICTipico(), QStringLiteral("1.5"));
  this->periodo(QStringLiteral("8"));
  EXPECT_TRUE(this->avisos.value(0).startsWith(
      QStringLiteral("Periodo: El índice de coincidencia típico es un número entre 0 y 1")));
  EXPECT_EQ(inicios, 1);
  EXPECT_EQ(v->FlexIC()->Filas(), 7);
  EXPECT_EQ(v->cs().MaxPeriodo(), 6);
  EXPECT_FALSE(v->PanelProgreso()->isVisible());
  EXPECT_TRUE(v->CmdPeriodo()->isEnabled());

  // The largest maximum the window takes.
  this->avisos.clear();
  this->escribe(v->TextICTipico(), QStringLiteral("0.080"));
  this->periodo(QStringLiteral("40"));
  EXPECT_TRUE(this->avisos.isEmpty());
  EXPECT_EQ(v->FlexIC()->Columnas(), 41);
}

TYPED_TEST(ORVCSPeriodicoTest, TheTypicalIndexIsReadBackInTheUsersDecimalFormat) {
  for (const char32_t decimal : {U',', U'.'}) {
    ORVW().setFormato({decimal, 0});
    this->v = this->nuevaVentana();
    auto& v = this->v;
    const QString sep = QString::fromUcs4(&decimal, 1);
    EXPECT_EQ(v->TextICTipico()->text(), QStringLiteral("0") + sep + QStringLiteral("080"));
    this->cifra(kProsa, QStringLiteral("clave"));
    this->periodo(QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(v->cs().ICTipo().aDouble(), 0.080);
    EXPECT_EQ(v->cs().Periodo(), 5);
    EXPECT_TRUE(v->FlexIC()->Texto(1, 1).contains(sep));
    // What the window shows can be typed again.
    this->escribe(v->TextICTipico(), QStringLiteral("0") + sep + QStringLiteral("075"));
    this->periodo(QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(v->cs().ICTipo().aDouble(), 0.075);
  }
  EXPECT_TRUE(this->avisos.isEmpty());
}

TYPED_TEST(ORVCSPeriodicoTest, ADoubtfulKeyIsReportedAsAPossibleErrorAndTheStageCompletes) {
  auto& v = this->v;
  this->cifra(kProsa, QStringLiteral("clave"));
  this->pestana(v->tsCripto(), 1);
  // An index no Spanish text has: the aligned text cannot match it.
  this->escribe(v->TextICTipico(), numeroMostrado(0.5, 3));
  this->periodo(QStringLiteral("10"));
  this->pestana(v->tsAnaliza(), 1);
  this->pulsa(v->CmdDesplazamientos());
  this->informes.clear();
  this->pestana(v->tsAnaliza(), 2);
  ASSERT_EQ(this->informes.size(), 1);
  EXPECT_EQ(this->informes[0],
            QStringLiteral("Posible error: Es probable que el índice de coincidencia del texto no "
                           "sea el supuesto. Puede que la desCifrado no sea correcta.\n\nPor "
                           "favor, revise el proceso."));
  EXPECT_EQ(v->CbClave()->count(), 64);
  EXPECT_FALSE(v->TextOriginal()->CSTexto()->Texto().empty());
}

// A fixture of its own: the window's own boxes, not the recorders.
TEST(ORVCSPeriodicoCajas, WarningsAndRefusalsShowSpanishBoxes) {
  registraBibliotecas();
  ORVCSVigenere v;
  v.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
  struct Visto {
    QString titulo, texto, boton;
    QMessageBox::Icon icono;
  };
  std::vector<Visto> vistos;
  QTimer vigia;
  QObject::connect(&vigia, &QTimer::timeout, [&] {
    if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      const auto botones = caja->buttons();
      vistos.push_back({caja->windowTitle(), caja->text(),
                        botones.isEmpty() ? QString() : botones.first()->text(), caja->icon()});
      caja->close();
    }
  });
  vigia.start(10);
  // The component's warning: an information box.
  v.txtTC()->area()->setPlainText(QStringLiteral("kfmbkfmbkfmbkfmbkfmbkfmbkfmbkfmb"));
  v.tsCripto()->setCurrentIndex(1);
  v.TextICTipico()->setText(numeroMostrado(0.5, 3));
  v.AnalizaPeriodo();
  v.tsAnaliza()->setCurrentIndex(2);
  // An empty key: a warning box.
  v.tsCripto()->setCurrentIndex(0);
  v.TxtClave()->clear();
  emit v.cmdDescifra()->Click();
  vigia.stop();
  ASSERT_EQ(vistos.size(), 2u);
  EXPECT_EQ(vistos[0].titulo, QStringLiteral("Posible error"));
  EXPECT_EQ(vistos[0].icono, QMessageBox::Information);
  EXPECT_EQ(vistos[0].boton, QStringLiteral("Aceptar"));
  EXPECT_TRUE(vistos[0].texto.startsWith(QStringLiteral("Es probable que")));
  EXPECT_EQ(vistos[1].titulo, QStringLiteral("Clave errónea"));
  EXPECT_EQ(vistos[1].icono, QMessageBox::Warning);
  EXPECT_EQ(vistos[1].boton, QStringLiteral("Aceptar"));
}

// Spanish prose from the corpus, enciphered in the window and broken again
// through the three stages alone: the right key is among the candidates, and
// choosing it shows the plain text.
TYPED_TEST(ORVCSPeriodicoTest, BreaksASpanishCiphertextThroughTheThreeStages) {
  const QString claro = corpus(4000);
  if (claro.isEmpty()) GTEST_SKIP() << "no se encuentra ../shared/corpus/es.txt";
  auto& v = this->v;
  const QString clave = this->kXOR ? QStringLiteral("secreto") : QStringLiteral("llave");
  this->cifra(claro, clave);
  const auto cifrado = v->txtTC()->CSTexto();
  ASSERT_FALSE(cifrado->Texto().empty());
  // The box is emptied: only the ciphertext is left to work on.
  v->TxtTO()->area()->clear();

  this->periodo(QStringLiteral("10"));
  EXPECT_EQ(v->TextPeriodo()->text(), QString::number(clave.size()));
  this->pestana(v->tsAnaliza(), 1);
  this->pulsa(v->CmdDesplazamientos());
  this->pestana(v->tsAnaliza(), 2);
  const int indice = this->candidatas().indexOf(clave);
  ASSERT_GE(indice, 0) << this->candidatas().join(QLatin1Char('|')).toStdString();

  // Another candidate first, then the right one, with the keyboard.
  QComboBox* cb = v->CbClave();
  cb->setFocus();
  const int otra = indice == 0 ? 1 : 0;
  while (cb->currentIndex() < otra) QTest::keyClick(cb, Qt::Key_Down);
  EXPECT_NE(QString::fromStdU32String(v->TextOriginal()->CSTexto()->Texto()), plegado(claro));
  while (cb->currentIndex() < indice) QTest::keyClick(cb, Qt::Key_Down);
  while (cb->currentIndex() > indice) QTest::keyClick(cb, Qt::Key_Up);
  EXPECT_EQ(v->TxtClave()->text(), clave);
  EXPECT_EQ(QString::fromStdU32String(v->TextOriginal()->CSTexto()->Texto()), plegado(claro));
  EXPECT_EQ(QString::fromStdU32String(v->TxtTO()->CSTexto()->Texto()), plegado(claro));
  EXPECT_EQ(v->txtTC()->CSTexto(), cifrado);
}

// Clicks the bar of period p of a chart of the period aids.
void clicBarra(GraficoPeriodos* g, int32_t p) {
  const QRect r = g->rectColumna(p);
  ASSERT_FALSE(r.isEmpty()) << p;
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(r.center().x(), r.bottom() - 2));
}

TYPED_TEST(ORVCSPeriodicoTest, KasiskiAndTheAutocorrelationPointToThePeriodAndABarChoosesIt) {
  const QString claro = corpus(1400);
  if (claro.isEmpty()) GTEST_SKIP() << "no se encuentra ../shared/corpus/es.txt";
  auto& v = this->v;
  // Keys of seven symbols whose coincidences stand out clearly at 7.
  this->cifra(claro, this->kXOR ? QStringLiteral("llavero") : QStringLiteral("secreto"));
  EXPECT_TRUE(v->GraficoAutocorrelacion()->Valores().empty());
  this->periodo(QStringLiteral("12"));
  ASSERT_TRUE(this->avisos.isEmpty()) << this->avisos.join(QLatin1Char('\n')).toStdString();

  // Every repeat listed stands in the ciphertext at its position and again
  // its distance further on.
  Rejilla* k = v->FlexKasiski();
  const auto& cs = v->cs();
  const QString cifrado = plegado(QString::fromStdU32String(v->txtTC()->CSTexto()->Texto()));
  ASSERT_EQ(k->Filas(), std::min(cs.NumDistanciasKasiski(), ORVCSPeriodico::kFilasKasiski) + 1);
  ASSERT_GT(k->Filas(), 5);
  int divisibles = 0;
  for (int32_t i = 1; i < k->Filas(); ++i) {
    const QString secuencia = k->Texto(i, 0);
    const int posicion = k->Texto(i, 1).toInt();
    const int distancia = k->Texto(i, 2).toInt();
    ASSERT_GE(secuencia.size(), 3) << i;
    EXPECT_EQ(cifrado.mid(posicion - 1, secuencia.size()), secuencia) << i;
    EXPECT_EQ(cifrado.mid(posicion - 1 + distancia, secuencia.size()), secuencia) << i;
    if (distancia % 7 == 0) ++divisibles;
  }
  EXPECT_TRUE(v->TextKasiski()->text().startsWith(QStringLiteral("Periodo probable: 7.")))
      << v->TextKasiski()->text().toStdString();

  // The bars are the component's counts; the likely period stands out in both.
  GraficoPeriodos* factores = v->GraficoFactores();
  GraficoPeriodos* autocorrelacion = v->GraficoAutocorrelacion();
  EXPECT_EQ(factores->Primero(), 2);
  ASSERT_EQ(factores->Valores().size(), 11u);
  EXPECT_EQ(factores->Valor(7), divisibles);
  for (int32_t p = 2; p <= 12; ++p) EXPECT_EQ(factores->Valor(p), cs.CuentaFactorKasiski(p));
  EXPECT_EQ(autocorrelacion->Primero(), 1);
  ASSERT_EQ(autocorrelacion->Valores().size(), 12u);
  for (int32_t d = 1; d <= 12; ++d) {
    int iguales = 0;
    for (qsizetype i = 0; i + d < cifrado.size(); ++i) iguales += cifrado[i] == cifrado[i + d];
    EXPECT_EQ(autocorrelacion->Valor(d), iguales) << d;
  }
  EXPECT_EQ(factores->Destacado(), 7);
  EXPECT_EQ(autocorrelacion->Destacado(), 7);
  EXPECT_TRUE(v->TextAutocorrelacion()->text().startsWith(QStringLiteral("Periodo probable: 7.")));
  EXPECT_EQ(autocorrelacion->Valor(7), *std::max_element(autocorrelacion->Valores().begin(),
                                                          autocorrelacion->Valores().end()));

  // A click on a bar of either chart chooses its period as a click on its
  // row of the index grid does; every view shows the period chosen.
  struct Caso {
    GraficoPeriodos* grafico;
    int32_t periodo;
  };
  for (const Caso& c : {Caso{autocorrelacion, 3}, Caso{factores, 5}, Caso{autocorrelacion, 7},
                        Caso{factores, 12}}) {
    clicBarra(c.grafico, c.periodo);
    EXPECT_EQ(cs.Periodo(), c.periodo);
    EXPECT_EQ(v->TextPeriodo()->text(), QString::number(c.periodo));
    EXPECT_EQ(v->FlexIC()->Fila(), c.periodo);
    EXPECT_EQ(factores->Elegido(), c.periodo);
    EXPECT_EQ(autocorrelacion->Elegido(), c.periodo);
  }
  this->clic(v->FlexIC(), 4, 1);
  EXPECT_EQ(cs.Periodo(), 4);
  EXPECT_EQ(autocorrelacion->Elegido(), 4);
  this->pestana(v->tsAnaliza(), 3);
  EXPECT_EQ(v->TextPeriodoResuelve()->text(), QStringLiteral("4"));

  // A new ciphertext takes the aids of the old one away.
  this->cifra(claro.left(300), QStringLiteral("otra"));
  EXPECT_EQ(v->FlexKasiski()->Filas(), 1);
  EXPECT_TRUE(factores->Valores().empty());
  EXPECT_TRUE(autocorrelacion->Valores().empty());
}

TYPED_TEST(ORVCSPeriodicoTest, ResolverListsTheBestKeysAndAClickDeciphersWithOne) {
  // Forty symbols of text per key symbol.
  const QString claro = corpus(280);
  if (claro.isEmpty()) GTEST_SKIP() << "no se encuentra ../shared/corpus/es.txt";
  auto& v = this->v;
  const QString clave = QStringLiteral("secreto");
  this->cifra(claro, clave);
  v->TxtTO()->area()->clear();
  v->TxtClave()->clear();
  this->pestana(v->tsCripto(), 1);
  this->pestana(v->tsAnaliza(), 0);
  this->tecleaPeriodo(QStringLiteral("7"));
  this->pestana(v->tsAnaliza(), 3);
  EXPECT_TRUE(v->PanelAnalisis(3)->isVisible());
  EXPECT_EQ(v->tsAnaliza()->tabText(3), QStringLiteral("Resolver"));
  EXPECT_EQ(v->TextPeriodoResuelve()->text(), QStringLiteral("7"));
  this->pulsa(v->CmdResolver());
  ASSERT_TRUE(this->avisos.isEmpty()) << this->avisos.join(QLatin1Char('\n')).toStdString();

  Rejilla* g = v->FlexResueltas();
  const auto& cs = v->cs();
  ASSERT_EQ(g->Filas(), cs.NumClavesResueltas() + 1);
  ASSERT_GE(g->Filas(), 3);
  for (int32_t i = 1; i < g->Filas(); ++i) {
    EXPECT_EQ(g->Texto(i, 0), QString::number(i));
    EXPECT_EQ(g->Texto(i, 1), QString::fromStdU32String(cs.ClaveResuelta(i)));
    EXPECT_EQ(g->Texto(i, 1).size(), 7);
    EXPECT_EQ(g->Texto(i, 2), numeroMostrado(cs.PuntuacionResuelta(i), 3));
    if (i > 1) {
      EXPECT_GE(cs.PuntuacionResuelta(i - 1), cs.PuntuacionResuelta(i));
    }
  }
  // The best key is the one used, and it is chosen at once.
  EXPECT_EQ(g->Texto(1, 1), clave);
  EXPECT_EQ(v->TxtClave()->text(), clave);
  EXPECT_EQ(QString::fromStdU32String(v->TextoResuelto()->CSTexto()->Texto()), plegado(claro));
  EXPECT_EQ(QString::fromStdU32String(v->TxtTO()->CSTexto()->Texto()), plegado(claro));
  EXPECT_EQ(this->fondo(g, 1, 1), this->seleccion(g));

  // Another key of the list: the key box and the decipherment follow.
  this->clic(g, 2, 1);
  EXPECT_EQ(v->TxtClave()->text(), g->Texto(2, 1));
  const QString otro = QString::fromStdU32String(v->TextoResuelto()->CSTexto()->Texto());
  EXPECT_NE(otro, plegado(claro));
  EXPECT_EQ(otro.size(), plegado(claro).size());
  EXPECT_EQ(QString::fromStdU32String(cs.TextoOriginal()->Texto()), otro);
  EXPECT_EQ(this->fondo(g, 2, 1), this->seleccion(g));
  EXPECT_EQ(this->fondo(g, 1, 1), this->normal(g));
}

TYPED_TEST(ORVCSPeriodicoTest, ResolverWithoutAPeriodOrAText) {
  auto& v = this->v;
  this->pestana(v->tsCripto(), 1);
  this->pestana(v->tsAnaliza(), 3);
  EXPECT_TRUE(v->TextPeriodoResuelve()->text().startsWith(QStringLiteral("ninguno")));
  this->pulsa(v->CmdResolver());
  ASSERT_EQ(this->avisos.size(), 1);
  EXPECT_TRUE(this->avisos.back().startsWith(QStringLiteral("Resolver: Antes hay que elegir")));
  // A period but nothing to solve.
  this->pestana(v->tsAnaliza(), 0);
  this->tecleaPeriodo(QStringLiteral("3"));
  this->pestana(v->tsAnaliza(), 3);
  this->pulsa(v->CmdResolver());
  ASSERT_EQ(this->avisos.size(), 2);
  EXPECT_TRUE(this->avisos.back().startsWith(QStringLiteral("Resolver: No hay texto cifrado")));
  EXPECT_EQ(v->FlexResueltas()->Filas(), 1);
  EXPECT_TRUE(v->TxtClave()->text().isEmpty());
}

// A search under way: the controls that could start another wait, a second
// press does nothing, and closing the window hides it at once and lets it go
// when the search ends.
TEST(ORVCSPeriodicoTrabajo, ASecondPressWaitsAndClosingMidSearchIsSafe) {
  registraBibliotecas();
  instalaProcesaEventos();
  QMdiArea area;
  area.resize(900, 700);
  auto* w = new ORVCSXOR;
  QMdiSubWindow* marco = area.addSubWindow(w);
  marco->setAttribute(Qt::WA_DeleteOnClose);
  area.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
  QPointer<ORVCSXOR> vigia(w);
  w->TxtTO()->area()->setPlainText(kProsa);
  w->TxtClave()->setText(QStringLiteral("clave"));
  QTest::mouseClick(w->cmdCifra(), Qt::LeftButton);
  w->tsCripto()->setCurrentIndex(1);

  int inicios = 0;
  int progresos = 0;
  bool esperaban = false;
  w->cs().eventos.Inicio.conecta([&](int32_t&) { ++inicios; });
  w->cs().eventos.Progreso.conecta([&](int32_t&) {
    if (++progresos != 2) return;
    esperaban = w->Ocupado() && !w->CmdPeriodo()->isEnabled() && !w->tsAnaliza()->isEnabled() &&
                !w->tsCripto()->isEnabled() && !w->FlexIC()->isEnabled() &&
                !w->txtMaxM()->isEnabled();
    w->AnalizaPeriodo();  // ignored: the search is under way
    marco->close();
  });
  QTest::mouseClick(w->CmdPeriodo(), Qt::LeftButton);
  EXPECT_TRUE(esperaban);
  EXPECT_EQ(inicios, 1);
  EXPECT_EQ(progresos, 10);
  EXPECT_FALSE(marco->isVisible());
  QTest::qWait(20);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(vigia.isNull());
}

}  // namespace
}  // namespace orv
