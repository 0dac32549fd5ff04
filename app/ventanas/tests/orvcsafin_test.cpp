// The affine laboratory driven as a user would: typing the key and the texts,
// the buttons, the tabs, the known pairs and the candidate list.
#include "orv/orvcsafin.h"

#include <gtest/gtest.h>

#include "ayudas_prueba.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include "kestrin/orvtexto.h"
#include "orv/arranque.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"
#include "tarnel/orvcriptoafin.h"

namespace orv {
namespace {

using prueba::teclea;

class ORVCSAfinTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { registraBibliotecas(); }

  void SetUp() override {
    v = std::make_unique<ORVCSAfin>();
    v->avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
    v->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v.get()));
  }

  static void escribe(QWidget* caja, const QString& texto) {
    caja->setFocus();
    if (auto* linea = qobject_cast<QLineEdit*>(caja)) linea->selectAll();
    QTest::keyClicks(caja, texto);
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  void pestana(int i) {
    QTest::mouseClick(v->tsCripto(), Qt::LeftButton, {}, v->tsCripto()->tabRect(i).center());
  }

  // Types the two known pairs and presses "Analizar"; returns the candidates.
  std::vector<std::pair<int, int>> busca(const QString& x0, const QString& y0, const QString& x1,
                                         const QString& y1) {
    pestana(1);
    const QString texto[] = {x0, y0, x1, y1};
    QLineEdit* cajas[] = {v->txtX(0), v->TxtY(0), v->txtX(1), v->TxtY(1)};
    for (int i = 0; i < 4; ++i) {
      QTest::mouseClick(cajas[i], Qt::LeftButton);
      QTest::qWait(1);
      teclea(cajas[i], texto[i]);
      EXPECT_EQ(cajas[i]->text(), texto[i]);
    }
    pulsa(v->cmdAnalizar());
    std::vector<std::pair<int, int>> lista;
    Rejilla* g = v->FlexClaves();
    for (int f = 1; f < g->Filas(); ++f)
      lista.emplace_back(g->Texto(f, 0).toInt(), g->Texto(f, 1).toInt());
    return lista;
  }

  std::unique_ptr<ORVCSAfin> v;
  QStringList avisos;
};

TEST_F(ORVCSAfinTest, LoadsWithItsCaptionsAndTheFirstTab) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Criptosistema afín"));
  EXPECT_EQ(v->tsCripto()->tabText(0), QStringLiteral("Cifrado"));
  EXPECT_EQ(v->tsCripto()->tabText(1), QStringLiteral("Criptoanálisis"));
  EXPECT_EQ(v->tsCripto()->tabData(0).toString(), QStringLiteral("cifracion"));
  EXPECT_EQ(v->tsCripto()->tabData(1).toString(), QStringLiteral("criptoanalisis"));
  EXPECT_EQ(v->tsCripto()->currentIndex(), 0);
  EXPECT_TRUE(v->Panel(0)->isVisible());
  EXPECT_FALSE(v->Panel(1)->isVisible());
  EXPECT_EQ(v->txtTC()->Key(), kestrin::CSKAfin);
  EXPECT_EQ(v->TxtTO()->MostrarEspaciosComo(), QStringLiteral("·"));
  EXPECT_EQ(v->cmdCifra()->Caption(), QStringLiteral("Cifra"));
  EXPECT_EQ(v->cmdDescifra()->Caption(), QStringLiteral("Descifra"));
  EXPECT_EQ(v->FlexClaves()->Filas(), 1);
  EXPECT_EQ(v->FlexClaves()->Texto(0, 0), QStringLiteral("a"));
  EXPECT_EQ(v->FlexClaves()->Texto(0, 1), QStringLiteral("b"));
  // The two buttons share the panel's width.
  EXPECT_EQ(v->cmdCifra()->width() + v->cmdDescifra()->width(), v->PanelCifrar()->width());
  EXPECT_EQ(v->txtX(0)->toolTip(), QStringLiteral("Caracteres del texto en claro"));
  EXPECT_EQ(v->TxtY(1)->toolTip(), QStringLiteral("Caracteres del texto cifrado"));

  // "Cifra" needs the plain text of the first tab; "Descifra" works on both.
  pestana(1);
  EXPECT_TRUE(v->Panel(1)->isVisible());
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  EXPECT_TRUE(v->cmdDescifra()->isEnabled());
  pestana(0);
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
}

TEST_F(ORVCSAfinTest, EnciphersAndDeciphersThroughTheTextBoxesWithTheTag) {
  escribe(v->TxtA(), QStringLiteral("3"));
  escribe(v->TxtB(), QStringLiteral("5"));
  escribe(v->TxtTO()->area(), QStringLiteral("Hola mundo"));
  pulsa(v->cmdCifra());
  const auto cifrado = v->txtTC()->CSTexto();
  EXPECT_EQ(cifrado, v->cs().TextoCifrado());  // the same object in the box and the system
  EXPECT_EQ(cifrado->Key(), kestrin::CSKAfin);
  EXPECT_EQ(QString::fromStdU32String(cifrado->KeyText()).left(12), QStringLiteral("[ORVKey=002]"));
  EXPECT_EQ(cifrado->Texto().size(), 10u);
  EXPECT_NE(v->txtTC()->area()->toPlainText(), QStringLiteral("hola·mundo"));
  // "a" (1) goes to 3·1 + 5 = 8, "h".
  EXPECT_EQ(v->txtTC()->area()->toPlainText().at(3), QLatin1Char('h'));

  // The plain box is emptied by hand; deciphering fills it with the folded text.
  v->TxtTO()->area()->clear();
  pulsa(v->cmdDescifra());
  EXPECT_EQ(v->TxtTO()->area()->toPlainText(), QStringLiteral("hola·mundo"));
  EXPECT_EQ(v->TxtTO()->CSTexto()->Key(), kestrin::CSKNone);
  EXPECT_EQ(v->TxtTO()->CSTexto(), v->cs().TextoOriginal());

  // A ciphertext typed by hand is what "Descifra" reads.
  v->txtTC()->area()->clear();
  escribe(v->txtTC()->area(), QStringLiteral("h"));
  pulsa(v->cmdDescifra());
  EXPECT_EQ(v->TxtTO()->area()->toPlainText(), QStringLiteral("a"));
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSAfinTest, AnInvalidKeyLeavesTheCiphertextAndATextKeepsTheLastKey) {
  escribe(v->TxtA(), QStringLiteral("3"));
  escribe(v->TxtB(), QStringLiteral("5"));
  escribe(v->TxtTO()->area(), QStringLiteral("abc"));
  pulsa(v->cmdCifra());
  const auto antes = v->txtTC()->CSTexto();
  const QString mostrado = v->txtTC()->area()->toPlainText();

  // An even multiplier: "Cifra" changes nothing.
  escribe(v->TxtA(), QStringLiteral("2"));
  EXPECT_EQ(v->cs().Multiplicador(), kestrin::Moneda(2));
  escribe(v->TxtTO()->area(), QStringLiteral("xyz"));
  pulsa(v->cmdCifra());
  EXPECT_EQ(v->txtTC()->CSTexto(), antes);
  EXPECT_EQ(v->txtTC()->area()->toPlainText(), mostrado);

  // What is not a number, or does not fit 32 bits, keeps the last key (typing
  // goes through every prefix, so the longest number that fits stays).
  struct Caso {
    const char* texto;
    int esperado;
  };
  for (const Caso c : {Caso{"abc", 2}, Caso{"", 2}, Caso{"99999999999", 999999999}, Caso{" 7 ", 7},
                       Caso{"2.5", 2}, Caso{"-3", -3}}) {
    escribe(v->TxtA(), QString::fromUtf8(c.texto));
    EXPECT_EQ(v->cs().Multiplicador(), kestrin::Moneda(c.esperado)) << c.texto;
  }
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSAfinTest, ALargeShiftDeciphersAsItsRemainder) {
  escribe(v->TxtA(), QStringLiteral("3"));
  escribe(v->TxtB(), QStringLiteral("2000000005"));  // 5 modulo 64
  escribe(v->txtTC()->area(), QStringLiteral("h"));
  pulsa(v->cmdDescifra());
  EXPECT_EQ(v->TxtTO()->area()->toPlainText(), QStringLiteral("a"));
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSAfinTest, KeySearchListsTheCandidatesOfTheKnownPairs) {
  struct Caso {
    const char* nombre;
    const char *x0, *y0, *x1, *y1;
    size_t candidatas;
  };
  // a..ñ are the values 1..15; "·" is 0.
  const Caso casos[] = {
      {"one key: 1,2 -> 8,15", "a", "h", "b", "ñ", 1},
      {"equal pairs: every odd multiplier", "c", "k", "c", "k", 32},
      {"equal plain, different cipher: none", "c", "k", "c", "l", 0},
      {"the space symbol counts as 0", "·", "e", "a", "h", 1},
      {"a character outside the alphabet gives none", "a", "h", "#", "ñ", 0},
  };
  for (const Caso& c : casos) {
    const auto lista = busca(QString::fromUtf8(c.x0), QString::fromUtf8(c.y0),
                             QString::fromUtf8(c.x1), QString::fromUtf8(c.y1));
    EXPECT_EQ(lista.size(), c.candidatas) << c.nombre;
    // Every candidate maps both plain characters onto their cipher characters,
    // by increasing multiplier.
    tarnel::ORVCriptoAfin prueba;
    for (size_t i = 0; i < lista.size(); ++i) {
      const auto [a, b] = lista[i];
      EXPECT_EQ(a % 2, 1) << c.nombre;
      if (i > 0) {
        EXPECT_GT(a, lista[i - 1].first) << c.nombre;
      }
      prueba.setMultiplicador(kestrin::Moneda(a));
      prueba.setDesplazamiento(kestrin::Moneda(b));
      auto claro = std::make_shared<kestrin::ORVTexto>();
      claro->setTexto(QString::fromUtf8(c.x0).append(QString::fromUtf8(c.x1)).toStdU32String());
      prueba.setTextoOriginal(claro);
      prueba.Cifra();
      EXPECT_EQ(QString::fromStdU32String(prueba.TextoCifrado()->Texto()),
                QString::fromUtf8(c.y0).append(QString::fromUtf8(c.y1)))
          << c.nombre << " a=" << a << " b=" << b;
    }
  }
  // The single key of the first case is 7, 1.
  const auto lista =
      busca(QStringLiteral("a"), QStringLiteral("h"), QStringLiteral("b"), QStringLiteral("ñ"));
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(lista[0], std::make_pair(7, 1));
}

TEST_F(ORVCSAfinTest, AnalysingTwiceGivesTheSameListAndChoosingACandidateSetsTheKey) {
  escribe(v->TxtA(), QStringLiteral("5"));
  const auto primera =
      busca(QStringLiteral("c"), QStringLiteral("k"), QStringLiteral("c"), QStringLiteral("k"));
  pulsa(v->cmdAnalizar());
  Rejilla* g = v->FlexClaves();
  ASSERT_EQ(g->Filas(), 33);
  EXPECT_EQ(v->TxtA()->text(), QStringLiteral("5"));  // listing chooses nothing by itself
  for (int f = 1; f < g->Filas(); ++f) {
    EXPECT_EQ(g->Texto(f, 0).toInt(), primera[static_cast<size_t>(f - 1)].first);
    EXPECT_EQ(g->Texto(f, 1).toInt(), primera[static_cast<size_t>(f - 1)].second);
  }
  // A click on the third candidate's b puts that key into the boxes and the system.
  QTableWidget* t = g->tabla();
  const QRect celda = t->visualItemRect(t->item(2, 1));
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, celda.center());
  EXPECT_EQ(g->Fila(), 3);
  EXPECT_EQ(v->TxtA()->text(), g->Texto(3, 0));
  EXPECT_EQ(v->TxtB()->text(), g->Texto(3, 1));
  EXPECT_EQ(v->cs().Multiplicador(), kestrin::Moneda(g->Texto(3, 0).toInt()));
  EXPECT_EQ(v->cs().Desplazamiento(), kestrin::Moneda(g->Texto(3, 1).toInt()));
}

TEST_F(ORVCSAfinTest, CharacterBoxesSelectTheirCharacterAndTypeASpaceAsTheSubstitute) {
  pestana(1);
  QLineEdit* x = v->txtX(0);
  QTest::mouseClick(x, Qt::LeftButton);
  QTest::keyClick(x, Qt::Key_Space);
  EXPECT_EQ(x->text(), QStringLiteral("·"));
  // Back in the box, the next key replaces the character.
  QTest::mouseClick(v->TxtY(0), Qt::LeftButton);
  QTest::mouseClick(x, Qt::LeftButton);
  QTest::qWait(1);
  EXPECT_EQ(x->selectedText(), QStringLiteral("·"));
  QTest::keyClicks(x, QStringLiteral("q"));
  EXPECT_EQ(x->text(), QStringLiteral("q"));
  QTest::mouseClick(v->TxtY(0), Qt::LeftButton);
  QTest::keyClick(v->TxtY(0), Qt::Key_Space);
  EXPECT_EQ(v->TxtY(0)->text(), QStringLiteral("·"));
  // A click into the box that has the focus selects the character again.
  QLineEdit* y = v->TxtY(0);
  QTest::keyClick(y, Qt::Key_End);
  ASSERT_FALSE(y->hasSelectedText());
  QTest::mouseClick(y, Qt::LeftButton);
  QTest::keyClicks(y, QStringLiteral("z"));
  EXPECT_EQ(y->text(), QStringLiteral("z"));
}

TEST_F(ORVCSAfinTest, TheReasonAKeyEnciphersNothingIsShownBesideIt) {
  const struct {
    const char* a;
    const char* b;
    const char* motivo;
  } casos[] = {
      {"", "", "a debe ser primo con 64"},         {"3", "5", ""},
      {"2", "5", "a debe ser primo con 64"},       {"0", "5", "a debe ser primo con 64"},
      {"abc", "5", "a debe ser un número entero"}, {"-7", "5", ""},
      {"3", "x", "b debe ser un número entero"},   {"65", "", ""},
  };
  for (const auto& c : casos) {
    v->TxtA()->setText(QString::fromUtf8(c.a));
    v->TxtB()->setText(QString::fromUtf8(c.b));
    EXPECT_EQ(v->LblClave()->text(), QString::fromUtf8(c.motivo)) << c.a << " " << c.b;
  }
}

}  // namespace
}  // namespace orv
