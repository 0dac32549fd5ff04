// The knapsack laboratory driven as a user would: typing the key fields and
// leaving them, the status bar, enciphering and deciphering, the key file
// (saving, listing, choosing, Esc, "claves") and enciphered files that carry
// their public key. Every test has a key file of its own in a temporary folder.
#include "orv/orvcsmhm.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include "halvard/orvcriptomhm.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"

namespace orv {
namespace {

using kestrin::Moneda;

// 2 3 7 14 30 is superincreasing (sum 56); 17 is prime to 61.
const QString kPrivada = QStringLiteral("2 3 7 14 30");
const QString kPublica = QStringLiteral("34 51 58 55 22");  // 17·s mod 61
const QString kMalo =
    QStringLiteral("Fichero erróneo: El fichero MHM leído no tiene un formato válido");

class ORVCSMHMTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    registraBibliotecas();
    instalaProcesaEventos();
  }

  void SetUp() override {
    // Numbers as the "C" format writes them, whatever the machine's.
    formato = ORVW().Formato();
    ORVW().setFormato(kestrin::FormatoNumerico{});
    ASSERT_TRUE(carpeta.isValid());
    v = nueva();
    v->show();
    v->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.get()));
  }

  void TearDown() override { ORVW().setFormato(formato); }

  // A window with this test's key file, its messages recorded.
  std::unique_ptr<ORVCSMHM> nueva() {
    auto w = std::make_unique<ORVCSMHM>();
    w->setFicheroClaves(fichero());
    w->avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
    w->avisaCritico = [this](const QString& titulo, const QString& texto) {
      criticos << titulo + ": " + texto;
    };
    w->abreEditor = [this](const QUrl& url) {
      abiertos << url;
      return editorDisponible;
    };
    for (pemmick::ORVExtTextBox* caja : {w->TextTO(), w->textTC(), w->TextSucesionPrivada()})
      caja->avisa = [this](const QString& titulo, const QString& texto) {
        avisos << titulo + ": " + texto;
      };
    return w;
  }

  QString fichero() const { return carpeta.filePath(QStringLiteral("claves.mhm")); }
  QString ruta(const char* nombre) const { return carpeta.filePath(QString::fromLatin1(nombre)); }
  QByteArray contenido(const QString& f) const {
    QFile archivo(f);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
  }
  static void escribeFichero(const QString& f, const QByteArray& bytes) {
    QFile archivo(f);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(bytes);
  }

  // Types into a field (the private sequence's text area included) and
  // leaves it for the identifier box.
  void escribe(QWidget* campo, const QString& texto) {
    campo->setFocus();
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(campo, Qt::Key_Delete);
    QTest::keyClicks(campo, texto);
    v->TextId()->setFocus();
    QCoreApplication::processEvents();
  }
  void clave(const QString& privada, const QString& modulo, const QString& multiplicador) {
    escribe(v->TextSucesionPrivada()->area(), privada);
    escribe(v->TextModulo(), modulo);
    escribe(v->TextMultiplicador(), multiplicador);
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  void herramienta(const char* key) {
    QWidget* b = v->Toolbar()->widgetForAction(v->boton(QString::fromLatin1(key)));
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
  }
  // Clicks a row of the key list.
  void eligeFila(int32_t fila) {
    QTableWidget* t = v->FlexClaves()->tabla();
    const QRect r = t->visualRect(t->model()->index(fila - 1, 1));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
  }
  int32_t filaDe(const QString& texto) const {
    Rejilla* g = v->FlexClaves();
    for (int32_t f = 1; f < g->Filas(); ++f)
      if (g->Texto(f, 0) == texto || g->Texto(f, 1) == texto) return f;
    return -1;
  }
  // The key as the cryptosystem holds it: private, public, modulus,
  // multiplier, and the two flags.
  static QStringList estado(const ORVCSMHM& w) {
    const halvard::ORVCriptoMHM& cs = w.cs();
    QStringList privada, publica;
    for (int32_t i = 1; i <= cs.LongitudSucesion(); ++i) {
      privada << QString::fromStdString(cs.SucesionPrivada(i).aTexto());
      publica << QString::fromStdString(cs.SucesionPublica(i).aTexto());
    }
    return {privada.join(' '),
            publica.join(' '),
            QString::fromStdString(cs.Modulo().aTexto()),
            QString::fromStdString(cs.Multiplicador().aTexto()),
            cs.ClavePublicaOK() ? QStringLiteral("pública") : QStringLiteral("-"),
            cs.ClavePrivadaOK() ? QStringLiteral("privada") : QStringLiteral("-")};
  }
  QStringList estado() const { return estado(*v); }
  static QString texto(const pemmick::ORVExtTextBox* caja) {
    return QString::fromStdU32String(caja->CSTexto()->Texto());
  }
  QString mensaje() const { return v->msg()->text(); }

  kestrin::FormatoNumerico formato;
  QTemporaryDir carpeta;
  std::unique_ptr<ORVCSMHM> v;
  QStringList avisos;
  QStringList criticos;
  QList<QUrl> abiertos;
  bool editorDisponible = true;
};

TEST_F(ORVCSMHMTest, LoadsWithTheDesignsControlsAndNothingToRun) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Criptosistema Merkle-Hellman"));
  EXPECT_FALSE(v->windowIcon().isNull());
  EXPECT_EQ(v->tsClave()->tabText(0), QStringLiteral("Clave"));
  EXPECT_EQ(v->tsClave()->tabText(1), QStringLiteral("Cifrado"));
  EXPECT_EQ(v->Pestanas()->currentIndex(), 0);
  EXPECT_EQ(v->PanelPublico()->title(), QStringLiteral("Público"));
  EXPECT_EQ(v->Panelprivado()->title(), QStringLiteral("Privado"));
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 0 elementos"));
  EXPECT_EQ(v->TextId()->toolTip(), QStringLiteral("Identificador de la clave"));
  EXPECT_EQ(v->boton(QStringLiteral("claves"))->toolTip(),
            QStringLiteral("Edita las claves guardadas"));
  for (const char* rotulo : {"Sucesión supercreciente", "Módulo", "Multiplicador"}) {
    bool hay = false;
    for (const QLabel* l : v->Panelprivado()->findChildren<QLabel*>())
      hay |= l->text() == QString::fromUtf8(rotulo);
    EXPECT_TRUE(hay) << rotulo;
  }
  EXPECT_EQ(v->StatusBar()->objectName(), QStringLiteral("StatusBar"));
  EXPECT_EQ(v->msg()->objectName(), QStringLiteral("msg"));
  EXPECT_TRUE(v->msg()->isVisible());
  // The box takes a ciphertext of any origin; its own are tagged as the knapsack's.
  EXPECT_EQ(v->textTC()->KeysAccepted(), kestrin::CSKAll);
  EXPECT_EQ(v->textTC()->Key(), kestrin::CSKMH);
  EXPECT_EQ(v->textTC()->Separadores(), QStringLiteral(" "));
  EXPECT_EQ(v->TextSucesionPrivada()->MostrarEspaciosComo(), QStringLiteral(" "));
  EXPECT_EQ(v->textTC()->BackColor(), 0xE0E0E0u);
  // A fresh window holds no key: empty fields, nothing to run.
  EXPECT_TRUE(v->TextModulo()->texto().isEmpty());
  EXPECT_TRUE(v->TextMultiplicador()->texto().isEmpty());
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  EXPECT_FALSE(v->cmdDescifra()->isEnabled());
  EXPECT_EQ(v->cmdCifra()->width() + v->cmdDescifra()->width(), v->PanelCifrar()->width());
  // The status bar shows on the enciphering page too.
  v->Pestanas()->setCurrentIndex(1);
  EXPECT_TRUE(v->msg()->isVisible());
}

TEST_F(ORVCSMHMTest, ATypedKeyIsBuiltShownAndEnciphersAndDeciphers) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  EXPECT_EQ(mensaje(), QStringLiteral("Clave correcta"));
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 5 elementos"));
  EXPECT_EQ(v->TextSucesionPublica()->texto(), kPublica);
  EXPECT_EQ(estado(), (QStringList{kPrivada, kPublica, "61", "17", "pública", "privada"}));

  // "Cifra" waits for a text; "Descifra" for a ciphertext.
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  v->Pestanas()->setCurrentIndex(1);
  v->TextTO()->area()->setFocus();
  QTest::keyClicks(v->TextTO()->area(), QStringLiteral("Hola mundo"));
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
  EXPECT_FALSE(v->cmdDescifra()->isEnabled());
  pulsa(v->cmdCifra());
  const auto cifrado = v->textTC()->CSTexto();
  EXPECT_EQ(cifrado->Key(), kestrin::CSKMH);
  // "Hola·mundo" is 10 characters, 80 bits: 16 blocks of 5 bits, each a
  // number followed by one space. "H" is 01001 000..: 51 + 22.
  const QStringList bloques = texto(v->textTC()).split(' ', Qt::SkipEmptyParts);
  EXPECT_EQ(bloques.size(), 16);
  EXPECT_TRUE(texto(v->textTC()).endsWith(QLatin1Char(' ')));
  EXPECT_EQ(bloques.value(0), QStringLiteral("73"));
  EXPECT_EQ(mensaje(), QStringLiteral("Texto cifrado en 16 bloques de 5 bits."));
  EXPECT_EQ(v->ProgressBar()->value(), v->ProgressBar()->maximum());
  EXPECT_TRUE(v->cmdDescifra()->isEnabled());

  v->TextTO()->area()->clear();
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  pulsa(v->cmdDescifra());
  EXPECT_EQ(texto(v->TextTO()), QStringLiteral("Hola·mundo"));
  EXPECT_EQ(mensaje(), QStringLiteral("Descifrados 16 bloques."));
  EXPECT_EQ(v->TextTO()->CSTexto()->Key(), kestrin::CSKNone);

  // A sequence read into its box from a file is taken as a typed one is.
  const QString f = ruta("sucesion.orv");
  escribeFichero(f, "1 3 5 11 21");
  ASSERT_TRUE(v->TextSucesionPrivada()->LeeFichero(f));
  EXPECT_EQ(mensaje(), QStringLiteral("Clave correcta"));
  EXPECT_EQ(v->TextSucesionPublica()->texto(), QStringLiteral("17 51 24 4 52"));
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, KeyProblemsAreSaidInTheStatusBarNeverInABox) {
  struct Caso {
    const char *privada, *modulo, *multiplicador, *mensaje;
  };
  const Caso casos[] = {
      {"5", "61", "17", "Debe haber al menos 2 elementos en la sucesión"},
      {"2 2 7", "61", "17", "La sucesión debe ser supercreciente"},
      {"2 3 4", "61", "17", "La sucesión debe ser supercreciente"},
      {"2 3 7 14 30", "56", "17",
       "El módulo debe ser mayor que la suma de los elementos de la "
       "sucesión"},
      {"2 3 7 14 30", "57", "17", "Clave correcta"},
      {"2 3 7 14 30", "58", "2", "El multiplicador debe ser primo con el módulo"},
      // The sum of the sequence leaves the currency range.
      {"500000000000000 500000000000001", "900000000000000", "17",
       "Los números de la clave son demasiado grandes: una suma de sus elementos no cabe en "
       "922337203685477."},
  };
  for (const Caso& c : casos) {
    clave(QString::fromUtf8(c.privada), QString::fromUtf8(c.modulo),
          QString::fromUtf8(c.multiplicador));
    EXPECT_EQ(mensaje(), QString::fromUtf8(c.mensaje)) << c.privada << " " << c.modulo;
    const bool bien = mensaje() == QStringLiteral("Clave correcta");
    EXPECT_EQ(v->cs().ClavePublicaOK(), bien) << c.privada << " " << c.modulo;
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
  EXPECT_TRUE(criticos.isEmpty());
}

TEST_F(ORVCSMHMTest, WhatIsNoWholeNumberIsRefusedAndTheKeyStaysAsItWas) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  const QStringList buena = estado();

  // A run of spaces is one separator: the key is the same and shows tidied.
  escribe(v->TextSucesionPrivada()->area(), QStringLiteral("  2   3 7  14 30 "));
  EXPECT_EQ(mensaje(), QStringLiteral("Clave correcta"));
  EXPECT_EQ(texto(v->TextSucesionPrivada()), kPrivada);
  EXPECT_EQ(estado(), buena);

  struct Caso {
    QWidget* campo;
    const char* texto;
    const char* dice;
  };
  QWidget* privada = v->TextSucesionPrivada()->area();
  const Caso casos[] = {
      {privada, "2 3 x 14 30", "«x» no es un número"},
      {privada, "2 3 7,5 14 30", "«7,5» no es un número"},
      {privada, "2 3.5 7", "no es un número entero"},
      {privada, "2 99999999999999999999", "demasiado grande"},
      {privada, "", "vacía"},
      {privada, "2 -3 7", "«-3» es negativo"},
      {v->TextMultiplicador(), "-17", "«-17» es negativo"},
      {v->TextSucesionPublica(), "1 x 3", "«x» no es un número"},
      {v->TextSucesionPublica(), "7", "al menos 2 elementos"},
      {v->TextModulo(), "abc", "Módulo: «abc» no es un número"},
      {v->TextModulo(), "", "Módulo: falta el número"},
      {v->TextMultiplicador(), "1e20", "demasiado grande"},
  };
  for (const Caso& c : casos) {
    escribe(c.campo, QString::fromUtf8(c.texto));
    EXPECT_TRUE(mensaje().contains(QString::fromUtf8(c.dice)))
        << c.texto << ": " << mensaje().toStdString();
    EXPECT_TRUE(mensaje().contains(QStringLiteral("La clave no cambia"))) << c.texto;
    EXPECT_EQ(estado(), buena) << c.texto;
    // What was typed stays, to be put right.
    if (c.campo != privada) {
      EXPECT_EQ(static_cast<CampoClave*>(c.campo)->texto(), QString::fromUtf8(c.texto));
    }
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, ATypedPublicSequenceEnciphersOnly) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  escribe(v->TextSucesionPublica(), QStringLiteral("5 9 21 40"));
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 4 elementos"));
  EXPECT_TRUE(v->cs().ClavePublicaOK());
  EXPECT_FALSE(v->cs().ClavePrivadaOK());
  EXPECT_TRUE(mensaje().contains(QStringLiteral("sirve para cifrar")));
  v->TextTO()->area()->setPlainText(QStringLiteral("a"));
  v->textTC()->area()->setPlainText(QStringLiteral("12 "));
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
  EXPECT_FALSE(v->cmdDescifra()->isEnabled());
  pulsa(v->cmdCifra());
  // "a" is 0110 0001: 9 + 21, then 40.
  EXPECT_EQ(texto(v->textTC()), QStringLiteral("30 40 "));
}

TEST_F(ORVCSMHMTest, SavingNamesTheKeyByDateAndTimeAndTheSameNameOverwrites) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  herramienta("guardar");
  const QRegularExpression fecha(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"));
  const QString id = v->TextId()->text();
  EXPECT_TRUE(fecha.match(id).hasMatch()) << id.toStdString();
  const QString seccion = QRegularExpression::escape(QLatin1Char('[') + id + QLatin1Char(']')) +
                          QStringLiteral("\r?\n");
  // The four entries in the design's order, in the key file's code page.
  const QString esperado =
      seccion + QStringLiteral(
                    "Sucesión privada=2 3 7 14 30\r?\nSucesión pública=34 51 58 55 22\r?\n"
                    "Multiplicador=17\r?\nMódulo=61\r?\n");
  const QByteArray bytes = contenido(fichero());
  EXPECT_TRUE(QRegularExpression(esperado).match(QString::fromLatin1(bytes)).hasMatch())
      << bytes.toStdString();

  // The same name again overwrites; another name adds a section.
  escribe(v->TextMultiplicador(), QStringLiteral("19"));
  herramienta("guardar");
  v->TextId()->setText(QStringLiteral("  otra  "));
  herramienta("guardar");
  EXPECT_EQ(v->TextId()->text(), QStringLiteral("otra"));
  EXPECT_EQ(v->Secciones(), (QStringList{id, QStringLiteral("otra")}));
  EXPECT_EQ(v->LeeEntrada(id, QStringLiteral("Multiplicador")), QStringLiteral("19"));
  EXPECT_EQ(contenido(fichero()).count("Multiplicador="), 2);
}

TEST_F(ORVCSMHMTest, AKeyChosenFromTheListWorksAtOnceAndEscHidesTheList) {
  // Saved by hand: a public sequence that is itself superincreasing would not
  // pass ConstruyeClave, yet the chosen key enciphers and deciphers.
  escribeFichero(fichero(),
                 "[vieja]\r\nSucesi\xF3n privada=1 2 4 8\r\nSucesi\xF3n p\xFA"
                 "blica=3 6 12 24\r\nMultiplicador=3\r\nM\xF3"
                 "dulo=31\r\n");
  herramienta("abrir");
  ASSERT_TRUE(v->FlexClaves()->isVisible());
  EXPECT_TRUE(v->LabelFichero()->text().contains(QDir::toNativeSeparators(fichero())));
  // Esc hides it, the key unchanged.
  const QStringList antes = estado();
  QTest::keyClick(v->FlexClaves()->tabla(), Qt::Key_Escape);
  EXPECT_FALSE(v->FlexClaves()->isVisible());
  EXPECT_EQ(estado(), antes);

  herramienta("abrir");
  eligeFila(filaDe(QStringLiteral("Módulo")));  // an entry's row takes its section
  EXPECT_FALSE(v->FlexClaves()->isVisible());
  EXPECT_EQ(v->TextId()->text(), QStringLiteral("vieja"));
  EXPECT_EQ(estado(), (QStringList{"1 2 4 8", "3 6 12 24", "31", "3", "pública", "privada"}));
  EXPECT_EQ(v->TextSucesionPublica()->texto(), QStringLiteral("3 6 12 24"));
  EXPECT_EQ(texto(v->TextSucesionPrivada()), QStringLiteral("1 2 4 8"));
  EXPECT_EQ(v->TextModulo()->texto(), QStringLiteral("31"));
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 4 elementos"));
  v->TextTO()->area()->setPlainText(QStringLiteral("Mochila"));
  pulsa(v->cmdCifra());
  v->TextTO()->area()->clear();
  pulsa(v->cmdDescifra());
  EXPECT_EQ(texto(v->TextTO()), QStringLiteral("Mochila"));
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, KeysOfTheFileThatAreNotWholeAreNotLoadedAndSayWhy) {
  struct Caso {
    const char* seccion;
    const char* dice;
  };
  const QByteArray bien =
      "Sucesi\xF3n privada=1 2 4 8\r\nSucesi\xF3n p\xFA"
      "blica=3 6 12 24\r\n";
  escribeFichero(fichero(), "[sin modulo]\r\n" + bien + "Multiplicador=3\r\n" +
                                "[uno]\r\nSucesi\xF3n privada=5\r\nSucesi\xF3n p\xFA"
                                "blica=7\r\nM\xF3"
                                "dulo=31\r\n" +
                                "[letras]\r\nSucesi\xF3n privada=1 2 x 8\r\n" + bien.mid(28) +
                                "M\xF3"
                                "dulo=31\r\n" +
                                "[distintas]\r\nSucesi\xF3n privada=1 2 4\r\nSucesi\xF3n p\xFA"
                                "blica=3 6 12 24\r\nM\xF3"
                                "dulo=31\r\n" +
                                "[basura]\r\n\x01\x02\xFF\xFE=\x80\x81\r\nM\xF3"
                                "dulo=\x90\r\n" +
                                "[cero]\r\n" + bien + "M\xF3" + "dulo=0\r\n" + "[larga]\r\n" +
                                "Sucesi\xF3n privada=" + QByteArray(100000, '7') + "\r\n" +
                                "M\xF3" + "dulo=31\r\n");
  const Caso casos[] = {
      {"sin modulo", "le falta el «Módulo»"},
      {"uno", "tiene un solo elemento"},
      {"letras", "«x» no es un número"},
      {"distintas", "no tienen el mismo número de elementos"},
      {"basura", "le falta la «Sucesión privada»"},
      {"cero", "no es mayor que 0"},
      {"larga", "demasiado grande"},
  };
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  v->TextId()->setText(QStringLiteral("mía"));
  const QStringList antes = estado();
  for (const Caso& c : casos) {
    if (!v->FlexClaves()->isVisible()) herramienta("abrir");
    const int32_t fila = filaDe(QString::fromUtf8(c.seccion));
    ASSERT_GT(fila, 0) << c.seccion;
    eligeFila(fila);
    EXPECT_TRUE(mensaje().startsWith(
        QStringLiteral("No se ha cargado la clave «%1»").arg(QString::fromUtf8(c.seccion))))
        << mensaje().toStdString();
    EXPECT_TRUE(mensaje().contains(QString::fromUtf8(c.dice))) << mensaje().toStdString();
    EXPECT_EQ(estado(), antes) << c.seccion;
    EXPECT_EQ(v->TextId()->text(), QStringLiteral("mía"));
    // The list stays for another choice.
    EXPECT_TRUE(v->FlexClaves()->isVisible()) << c.seccion;
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, WithoutAKeyFileTheListAndTheEditorSaySo) {
  herramienta("abrir");
  EXPECT_TRUE(v->FlexClaves()->isVisible());
  EXPECT_EQ(v->FlexClaves()->Filas(), 1);
  EXPECT_TRUE(v->LabelFichero()->text().contains(QStringLiteral("no existe")));
  herramienta("abrir");
  EXPECT_FALSE(v->FlexClaves()->isVisible());

  herramienta("claves");
  EXPECT_TRUE(abiertos.isEmpty());
  EXPECT_TRUE(mensaje().contains(QStringLiteral("no existe"))) << mensaje().toStdString();

  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  herramienta("guardar");
  herramienta("claves");
  ASSERT_EQ(abiertos.size(), 1);
  EXPECT_EQ(abiertos.front().toLocalFile(), fichero());
  editorDisponible = false;
  herramienta("claves");
  EXPECT_TRUE(mensaje().contains(QStringLiteral("editor"))) << mensaje().toStdString();
}

TEST_F(ORVCSMHMTest, AnEncipheredFileCarriesItsPublicKeyAndFindsTheRestInTheKeyFile) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  v->TextId()->setText(QStringLiteral("cinco"));
  herramienta("guardar");
  v->TextTO()->area()->setPlainText(QStringLiteral("Merkle"));
  pulsa(v->cmdCifra());
  const QString bloques = texto(v->textTC());
  const QString cifrado = ruta("cifrado.orv");
  ASSERT_TRUE(v->textTC()->GuardaFichero(cifrado));
  const QByteArray bytes = contenido(cifrado);
  EXPECT_TRUE(bytes.startsWith("[ORVKey=128]ClaveMHM=34-51-58-55-22 ")) << bytes.toStdString();
  EXPECT_TRUE(bytes.endsWith(bloques.toLatin1()));

  // Another window with the same key file: the whole key comes back.
  auto otra = nueva();
  otra->show();
  ASSERT_TRUE(otra->textTC()->LeeFichero(cifrado));
  EXPECT_EQ(texto(otra->textTC()), bloques);
  EXPECT_EQ(otra->textTC()->CSTexto()->Key(), kestrin::CSKMH);
  EXPECT_EQ(otra->TextId()->text(), QStringLiteral("cinco"));
  EXPECT_EQ(estado(*otra), estado());
  otra->TextTO()->area()->clear();
  pulsa(otra->cmdDescifra());
  // Six characters are 48 bits: the cryptosystem pads them with 48 mod 5 spaces.
  EXPECT_EQ(texto(otra->TextTO()), QStringLiteral("Merkle   "));

  // Where the key file lacks it (or does not exist), only enciphering.
  struct Caso {
    const char* fichero;
    QByteArray claves;
    const char* dice;
  };
  const Caso casos[] = {
      {"ninguno.mhm", {}, "no está en el fichero de claves: sólo se puede cifrar"},
      {"otra.mhm",
       "[otra]\r\nSucesi\xF3n p\xFA"
       "blica=1 2 3\r\n",
       "no está en el fichero de claves: sólo se puede cifrar"},
      // The same public sequence, but no modulus: the key is not taken half.
      {"rota.mhm",
       "[rota]\r\nSucesi\xF3n privada=2 3 7 14 30\r\nSucesi\xF3n p\xFA"
       "blica=34 51 58 55 22\r\nMultiplicador=17\r\n",
       "La clave «rota» del fichero de claves tiene esta sucesión pública, pero le falta el "
       "«Módulo». Sólo se puede cifrar."},
  };
  for (const Caso& c : casos) {
    auto sola = nueva();
    sola->setFicheroClaves(ruta(c.fichero));
    if (!c.claves.isEmpty()) escribeFichero(ruta(c.fichero), c.claves);
    sola->TextId()->setText(QStringLiteral("cinco"));
    ASSERT_TRUE(sola->textTC()->LeeFichero(cifrado)) << c.fichero;
    EXPECT_EQ(estado(*sola), (QStringList{"0 0 0 0 0", "34 51 58 55 22", "0", "0", "pública", "-"}))
        << c.fichero;
    // The identifier of another key is not kept, so saving cannot overwrite it.
    EXPECT_TRUE(sola->TextId()->text().isEmpty()) << c.fichero;
    EXPECT_TRUE(sola->msg()->text().contains(QString::fromUtf8(c.dice)))
        << sola->msg()->text().toStdString();
    sola->TextTO()->area()->setPlainText(QStringLiteral("x"));
    EXPECT_TRUE(sola->cmdCifra()->isEnabled()) << c.fichero;
    EXPECT_FALSE(sola->cmdDescifra()->isEnabled()) << c.fichero;
  }
  EXPECT_TRUE(criticos.isEmpty()) << criticos.join('\n').toStdString();
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, AnEncipheredFileWithoutAValidHeaderIsRefusedAndChangesNothing) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  v->TextId()->setText(QStringLiteral("mía"));
  v->textTC()->area()->setPlainText(QStringLiteral("1 2 3 "));
  const QStringList antes = estado();
  struct Caso {
    const char* nombre;
    QByteArray bytes;
  };
  const Caso casos[] = {
      {"no header", "[ORVKey=128]12 34 56 "},
      {"empty header", "ClaveMHM= 12 34 "},
      {"one element", "ClaveMHM=34 12 "},
      {"garbage token", "ClaveMHM=34-x-58 12 "},
      {"empty piece", "ClaveMHM=34--58 12 "},
      {"fraction", "ClaveMHM=34-5.5 12 "},
      {"binary bytes", QByteArray("\x00\x01\xFF\xFE"
                                  "ClaveMHM\x00=1-2 \x80",
                                  17)},
      {"huge line", "ClaveMHM=" + QByteArray(200000, '9') + "-1 12 "},
      {"empty file", ""},
  };
  for (const Caso& c : casos) {
    const QString f = ruta("malo.orv");
    escribeFichero(f, c.bytes);
    criticos.clear();
    EXPECT_FALSE(v->textTC()->LeeFichero(f)) << c.nombre;
    EXPECT_EQ(criticos, QStringList{kMalo}) << c.nombre;
    EXPECT_EQ(estado(), antes) << c.nombre;
    EXPECT_EQ(texto(v->textTC()), QStringLiteral("1 2 3 ")) << c.nombre;
    EXPECT_EQ(v->TextId()->text(), QStringLiteral("mía")) << c.nombre;
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, AGarbledCiphertextDeciphersNothingAndSaysWhy) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  v->TextTO()->area()->setPlainText(QStringLiteral("igual"));
  for (const char* malo : {"12 abc 30 ", "12 1,5 ", "12 99999999999999999999 "}) {
    v->textTC()->area()->setPlainText(QString::fromUtf8(malo));
    pulsa(v->cmdDescifra());
    EXPECT_TRUE(mensaje().startsWith(QStringLiteral("Texto cifrado: "))) << malo;
    EXPECT_TRUE(mensaje().contains(QStringLiteral("No se ha descifrado nada"))) << malo;
    EXPECT_EQ(texto(v->TextTO()), QStringLiteral("igual")) << malo;
  }
  // Runs of spaces and line breaks between the blocks are no empty block.
  v->textTC()->area()->setPlainText(QStringLiteral("  73   \n 0  "));
  pulsa(v->cmdDescifra());
  EXPECT_EQ(texto(v->TextTO()), QStringLiteral("H"));
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, ALongTextMovesTheProgressBarAndTheWindowKeepsAnswering) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  QString largo;
  while (largo.size() < 20000) largo += QStringLiteral("En un lugar de la Mancha, de cuyo nombre ");
  largo.truncate(20000);
  v->TextTO()->area()->setPlainText(largo);

  // Halfway through, the work takes a while: the bar shows where it is, the
  // window answers what was posted to it, and a second press starts nothing.
  int progresos = 0;
  int medio = -1;
  bool esperaban = false;
  bool respondio = false;
  const int id = v->cs().eventos.Progreso.conecta([&](int32_t i) {
    ++progresos;
    if (i == 1000) {
      esperaban = v->Ocupado() && !v->cmdCifra()->isEnabled() && !v->cmdDescifra()->isEnabled() &&
                  !v->Panel(0)->isEnabled() && !v->textTC()->isEnabled();
      v->Cifra();
      v->Descifra();
      QTimer::singleShot(0, [&] { respondio = v->Ocupado(); });
      QThread::msleep(20);
    } else if (i == 1001) {
      medio = v->ProgressBar()->value();
    }
  });
  // 20000 characters are 160000 bits: 32000 blocks of 5.
  for (const bool cifra : {true, false}) {
    progresos = 0;
    medio = -1;
    esperaban = respondio = false;
    if (cifra) {
      pulsa(v->cmdCifra());
      EXPECT_EQ(texto(v->textTC()).count(QLatin1Char(' ')), 32000);
    } else {
      v->TextTO()->area()->clear();
      pulsa(v->cmdDescifra());
      EXPECT_EQ(texto(v->TextTO()), largo);
    }
    EXPECT_EQ(progresos, 32000) << cifra;
    EXPECT_EQ(medio, 1001) << cifra;
    EXPECT_TRUE(esperaban) << cifra;
    EXPECT_TRUE(respondio) << cifra;
    EXPECT_EQ(v->ProgressBar()->value(), 32000) << cifra;
    EXPECT_TRUE(v->Panel(0)->isEnabled());
    EXPECT_TRUE(v->textTC()->isEnabled());
  }
  v->cs().eventos.Progreso.desconecta(id);
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
  EXPECT_TRUE(v->cmdDescifra()->isEnabled());
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSMHMTest, AWindowClosedWhileASequenceIsBeingTypedGoesQuietly) {
  clave(kPrivada, QStringLiteral("61"), QStringLiteral("17"));
  QWidget* area = v->TextSucesionPrivada()->area();
  area->setFocus();
  QTest::keyClicks(area, QStringLiteral(" 99"));
  ASSERT_TRUE(area->hasFocus());
  v.reset();
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

}  // namespace
}  // namespace orv
