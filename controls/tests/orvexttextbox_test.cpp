// The extended text box: acceptance, typing, files, clipboard, drops, saving.
#include "pemmick/orvexttextbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include "hookwell/subclas.h"
#include "kestrin/errores.h"
#include "kestrin/orvw.h"
#include "lectura.h"
#include "linkmere/proveedor.h"

namespace pemmick {
namespace {

using kestrin::ORVTexto;

std::shared_ptr<ORVTexto> texto(const char32_t* t, int32_t key) {
  auto o = std::make_shared<ORVTexto>();
  o->asigna(t, key);
  return o;
}

class CajaTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static QTemporaryDir carpeta;
    ponEspacioTrabajo(std::make_shared<kestrin::ORVW>(
        kestrin::ORVW::Entorno{carpeta.path().toStdU32String(), nullptr}));
  }
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ventana.resize(400, 200);
    caja = new ORVExtTextBox(&ventana);
    caja->setGeometry(0, 0, 400, 200);
    caja->avisa = [this](const QString& t, const QString& m) { avisos.push_back(t + u'|' + m); };
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  }
  QString ruta(const char* nombre) { return dir.filePath(QString::fromLatin1(nombre)); }
  QString escribe(const char* nombre, const QByteArray& bytes) {
    QFile f(ruta(nombre));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  QByteArray lee(const QString& r) {
    QFile f(r);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  QString mostrado() { return caja->area()->toPlainText(); }
  void suelta(const QStringList& archivos) {
    QMimeData datos;
    QList<QUrl> urls;
    for (const auto& a : archivos) urls << QUrl::fromLocalFile(a);
    datos.setUrls(urls);
    QWidget* destino = caja->area()->viewport();
    QDragEnterEvent entra(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(destino, &entra);
    QDropEvent suelta(QPointF(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(destino, &suelta);
  }

  QTemporaryDir dir;
  QWidget ventana;
  ORVExtTextBox* caja = nullptr;
  std::vector<QString> avisos;
};

const QString kRechazo = QStringLiteral("Texto no admitido|El texto que ha elegido no se puede poner aquí.");

TEST_F(CajaTest, KeysAcceptedDecidesWhichTextsEnter) {
  struct Caso {
    const char* nombre;
    int32_t aceptadas;
    const char32_t* texto;
    int32_t key;
    bool entra;
  };
  const Caso casos[] = {
      {"todas", 255, U"abc", kestrin::CSKHill, true},
      {"ninguna, texto", 0, U"abc", kestrin::CSKNone, false},
      {"ninguna, vacio", 0, U"", kestrin::CSKVig, true},
      {"vigenere en vigenere", kestrin::CSKVig, U"xyz", kestrin::CSKVig, true},
      {"afin en vigenere", kestrin::CSKVig, U"xyz", kestrin::CSKAfin, false},
      {"vacio de otro sistema", kestrin::CSKVig, U"", kestrin::CSKRSA, true},
  };
  for (const auto& c : casos) {
    caja->setKeysAccepted(255);
    caja->setCSTexto(texto(U"previo", kestrin::CSKNone));
    const auto antes = caja->CSTexto();
    avisos.clear();
    caja->setKeysAccepted(c.aceptadas);
    auto t = texto(c.texto, c.key);
    EXPECT_EQ(caja->setCSTexto(t), c.entra) << c.nombre;
    if (c.entra) {
      EXPECT_EQ(caja->CSTexto(), t) << c.nombre;  // the same object
      EXPECT_EQ(mostrado(), QString::fromStdU32String(c.texto)) << c.nombre;
      EXPECT_TRUE(avisos.empty()) << c.nombre;
    } else {
      EXPECT_EQ(caja->CSTexto(), antes) << c.nombre;
      EXPECT_EQ(mostrado(), QStringLiteral("previo")) << c.nombre;
      EXPECT_EQ(avisos, std::vector<QString>{kRechazo}) << c.nombre;
    }
  }
  EXPECT_THROW(caja->setCSTexto(nullptr), kestrin::ErrorORV);
}

TEST_F(CajaTest, PlacedTextShowsItsDescriptionAndTypingKeepsTheKey) {
  caja->setCSTexto(texto(U"abc", kestrin::CSKVig));
  EXPECT_EQ(caja->area()->toolTip(), QStringLiteral("Cifrado con el criptosistema de Vigenère"));
  int cambios = 0;
  caja->eventos.Change.conecta([&] { ++cambios; });
  caja->setMostrarEspaciosComo(QStringLiteral("·"));
  caja->area()->moveCursor(QTextCursor::End);
  QTest::keyClicks(caja->area(), QStringLiteral("d e"));
  EXPECT_EQ(mostrado(), QStringLiteral("abcd·e"));
  EXPECT_EQ(caja->CSTexto()->Texto(), U"abcd·e");
  EXPECT_EQ(caja->Key(), kestrin::CSKVig);
  EXPECT_EQ(cambios, 3);
}

TEST_F(CajaTest, TaggedTextFollowsEveryEdit) {
  caja->setCSTexto(texto(U"primera línea\nsegunda", kestrin::CSKHill));
  QPlainTextEdit* a = caja->area();
  auto igual = [&](const char* paso) {
    EXPECT_EQ(QString::fromStdU32String(caja->CSTexto()->Texto()), a->toPlainText()) << paso;
    EXPECT_EQ(caja->Key(), kestrin::CSKHill) << paso;
  };
  QTextCursor c = a->textCursor();
  c.setPosition(3);
  a->setTextCursor(c);
  QTest::keyClicks(a, QStringLiteral("xyz"));
  igual("teclas en medio");
  a->insertPlainText(QStringLiteral("uno\ndos\n"));
  igual("varias lineas");
  c = a->textCursor();
  c.setPosition(1);
  c.setPosition(12, QTextCursor::KeepAnchor);
  a->setTextCursor(c);
  QTest::keyClick(a, Qt::Key_Delete);
  igual("borrado de una seleccion");
  QTest::keyClick(a, Qt::Key_Backspace);
  igual("retroceso");
  a->insertPlainText(QStringLiteral("😀 fuera del plano básico"));
  igual("caracter de dos unidades");
  QTest::keyClicks(a, QStringLiteral("ab"));
  igual("tras el par");
  a->undo();
  a->undo();
  igual("deshacer");
  a->redo();
  igual("rehacer");
}

TEST_F(CajaTest, EditsReplaceTheSharedStringAndNeverChangeIt) {
  // A cryptosystem that searched the text keeps the string it read.
  caja->setCSTexto(texto(U"abc", kestrin::CSKVig));
  const auto leido = caja->CSTexto()->TextoCompartido();
  caja->area()->moveCursor(QTextCursor::End);
  QTest::keyClicks(caja->area(), QStringLiteral("de"));
  QTest::keyClick(caja->area(), Qt::Key_Backspace);
  EXPECT_EQ(*leido, U"abc");
  EXPECT_EQ(caja->CSTexto()->Texto(), U"abcd");
  EXPECT_NE(caja->CSTexto()->TextoCompartido(), leido);
}

TEST_F(CajaTest, LargeTextIsCompleteAtOnceAndShownInPieces) {
  kestrin::Cadena grande;
  for (int i = 0; i < 40000; ++i) grande += U"línea de texto cifrado " + kestrin::desdeUtf8(std::to_string(i)) + U"\r\n";
  int cambios = 0;
  caja->eventos.Change.conecta([&] { ++cambios; });
  caja->setLocked(false);
  ASSERT_TRUE(caja->setCSTexto(texto(grande.c_str(), kestrin::CSKXOR)));
  EXPECT_EQ(cambios, 1);
  EXPECT_TRUE(caja->rellenando());
  EXPECT_TRUE(caja->area()->isReadOnly());
  EXPECT_FALSE(caja->Locked());
  QString esperado = QString::fromStdU32String(grande);
  esperado.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  EXPECT_EQ(QString::fromStdU32String(caja->CSTexto()->Texto()), esperado);
  for (int i = 0; i < 1000 && caja->rellenando(); ++i) QCoreApplication::processEvents();
  ASSERT_FALSE(caja->rellenando());
  EXPECT_EQ(mostrado(), esperado);
  EXPECT_FALSE(caja->area()->isReadOnly());
  EXPECT_EQ(cambios, 1);
  caja->area()->moveCursor(QTextCursor::End);
  QTest::keyClicks(caja->area(), QStringLiteral("fin"));
  EXPECT_EQ(QString::fromStdU32String(caja->CSTexto()->Texto()), esperado + QStringLiteral("fin"));

  // A text placed while another is still being shown replaces it.
  caja->setCSTexto(texto(grande.c_str(), kestrin::CSKXOR));
  caja->setCSTexto(texto(U"corto", kestrin::CSKNone));
  for (int i = 0; i < 50; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(mostrado(), QStringLiteral("corto"));
}

// A line of tens of thousands of characters: words first, then a stretch
// with no space at all, so it is cut both at spaces and anywhere.
kestrin::Cadena lineaLarga(size_t palabras = 1500, size_t sinEspacios = 9000) {
  kestrin::Cadena s;
  for (size_t i = 0; i < palabras; ++i) s += i % 7 == 0 ? U"cifrado·" : U"palabra ";
  for (size_t i = 0; i < sinEspacios; ++i) s += static_cast<char32_t>(U'a' + i % 26);
  return s;
}

// Long texts compared, with only where they part printed on failure.
testing::AssertionResult iguales(const kestrin::Cadena& a, const kestrin::Cadena& b) {
  if (a == b) return testing::AssertionSuccess();
  const auto d = static_cast<size_t>(
      std::mismatch(a.begin(),
                    a.begin() + static_cast<std::ptrdiff_t>(std::min(a.size(), b.size())),
                    b.begin())
          .first -
      a.begin());
  const size_t desde = d < 8 ? 0 : d - 8;
  return testing::AssertionFailure()
         << "largos " << a.size() << " y " << b.size() << ", difieren en " << d << ": \""
         << kestrin::aUtf8(a.substr(desde, 24)) << "\" y \"" << kestrin::aUtf8(b.substr(desde, 24))
         << "\"";
}

// Long lines are held in the area as several blocks; these tests check that
// nothing of it shows in the text: reading, saving, positions, edits, undo.
class LineaLargaTest : public CajaTest {
 protected:
  void pon(const kestrin::Cadena& t) {
    ASSERT_TRUE(caja->setCSTexto(texto(t.c_str(), kestrin::CSKVig)));
    for (int i = 0; i < 1000 && caja->rellenando(); ++i) QCoreApplication::processEvents();
    ASSERT_FALSE(caja->rellenando());
    original = t;
  }
  // Positions of the area where a block starts inside the line.
  std::vector<int> fronteras() {
    std::vector<int> r;
    for (QTextBlock b = caja->area()->document()->begin().next(); b.isValid(); b = b.next())
      r.push_back(b.position());
    return r;
  }
  void ponCursor(int posicion, int ancla = -1) {
    QTextCursor c(caja->area()->document());
    c.setPosition(ancla < 0 ? posicion : ancla);
    c.setPosition(posicion, QTextCursor::KeepAnchor);
    caja->area()->setTextCursor(c);
  }
  kestrin::Cadena actual() { return caja->CSTexto()->Texto(); }
  // The tagged text and what the area shows agree, and no line of the area is
  // empty unless the text has an empty line there.
  void coherente(const char* paso) {
    EXPECT_TRUE(iguales(caja->textoMostrado().toStdU32String(), actual())) << paso;
    EXPECT_EQ(caja->Key(), kestrin::CSKVig) << paso;
    for (QTextBlock b = caja->area()->document()->begin(); b.isValid(); b = b.next())
      if (b.length() == 1) {
        EXPECT_NE(actual().find(U"\n\n"), kestrin::Cadena::npos)
            << paso << ": línea vacía " << b.blockNumber();
      }
  }

  kestrin::Cadena original;
};

TEST_F(LineaLargaTest, LongLinesRoundTripThroughTextAreaAndFile) {
  struct Caso {
    const char* nombre;
    kestrin::Cadena texto;
  };
  kestrin::Cadena pares =
      lineaLarga(0, 4095) + U"😀" + lineaLarga(0, 8190) + U"😀😀" + lineaLarga(0, 9000);
  const Caso casos[] = {
      {"una linea", lineaLarga()},
      {"sin espacios", lineaLarga(0, 50000)},
      {"larga entre cortas", U"primera\n\nsegunda\n" + lineaLarga() + U"\núltima\n"},
      {"pares de surrogados en los cortes", pares},
      // Longer than one piece of the filling: the line goes on across pieces.
      {"mas larga que un trozo", lineaLarga(20000, 150000)},
  };
  for (const auto& c : casos) {
    pon(c.texto);
    const QTextDocument* doc = caja->area()->document();
    EXPECT_GT(doc->blockCount(), 3) << c.nombre;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
      EXPECT_LE(b.length(), 5000) << c.nombre;
      EXPECT_FALSE(b.text().startsWith(QChar(0xDE00))) << c.nombre;
    }
    EXPECT_TRUE(iguales(actual(), c.texto)) << c.nombre;
    EXPECT_TRUE(iguales(caja->textoMostrado().toStdU32String(), c.texto)) << c.nombre;
    if (c.texto.find(U"😀") != kestrin::Cadena::npos) continue;  // the code page has no emoji
    const QString r = ruta("larga.ORV");
    ASSERT_TRUE(caja->GuardaFichero(r)) << c.nombre;
    EXPECT_EQ(lee(r),
              QByteArray("[ORVKey=008]") + QByteArray::fromStdString(kestrin::aAnsi(c.texto)))
        << c.nombre;
  }
}

TEST_F(LineaLargaTest, FileOfOneLongLineSavesByteForByte) {
  QByteArray bytes;
  for (int i = 0; i < 700000; ++i)
    bytes.append(i % 13 == 0 ? ' ' : static_cast<char>('A' + i % 26));
  bytes[5000] = '\xB7';
  bytes[9000] = '\xF1';
  ASSERT_TRUE(caja->LeeFichero(escribe("cifrado.ORV", bytes)));
  for (int i = 0; i < 1000 && caja->rellenando(); ++i) QCoreApplication::processEvents();
  ASSERT_FALSE(caja->rellenando());
  EXPECT_GT(caja->area()->document()->blockCount(), 100);
  ASSERT_TRUE(caja->GuardaFichero(ruta("copia.ORV")));
  EXPECT_EQ(lee(ruta("copia.ORV")), bytes);
}

TEST_F(LineaLargaTest, TypingLandsAtTheRightCharacterOnEitherSideOfABreak) {
  pon(lineaLarga());
  const std::vector<int> f = fronteras();
  ASSERT_GE(f.size(), 4u);
  caja->setMostrarEspaciosComo(QStringLiteral("·"));
  struct Caso {
    const char* nombre;
    int posicion;  // in the area
    size_t real;   // in the text
  };
  // Position p of the area, after k breaks, is character p - k of the text;
  // both ends of a break are the same place of the text.
  const Caso casos[] = {
      {"principio", 0, 0},
      {"fin del primer bloque", f[0] - 1, static_cast<size_t>(f[0] - 1)},
      {"principio del segundo", f[0], static_cast<size_t>(f[0] - 1)},
      {"dentro del tercero", f[1] + 10, static_cast<size_t>(f[1] + 10 - 2)},
      {"principio del cuarto", f[2], static_cast<size_t>(f[2] - 3)},
  };
  kestrin::Cadena esperado = original;
  size_t desplazamiento = 0;
  for (const auto& c : casos) {
    ponCursor(c.posicion + static_cast<int>(desplazamiento));
    QTest::keyClicks(caja->area(), QStringLiteral("Z "));
    esperado.insert(c.real + desplazamiento, U"Z·");
    desplazamiento += 2;
    EXPECT_TRUE(iguales(actual(), esperado)) << c.nombre;
    coherente(c.nombre);
  }
  caja->area()->moveCursor(QTextCursor::End);
  QTest::keyClicks(caja->area(), QStringLiteral("fin"));
  EXPECT_TRUE(iguales(actual(), esperado + U"fin"));
}

TEST_F(LineaLargaTest, DeletingAndMovingAtABreakActOnTheText) {
  pon(lineaLarga());
  int cambios = 0;
  caja->eventos.Change.conecta([&] { ++cambios; });
  // Position p of the area after k breaks is character p - k of the text.
  const int f = fronteras()[1];  // after two breaks
  kestrin::Cadena esperado = original;

  ponCursor(f);
  QTest::keyClick(caja->area(), Qt::Key_Backspace);
  esperado.erase(static_cast<size_t>(f - 2 - 1), 1);  // the character before the break
  EXPECT_TRUE(iguales(actual(), esperado));
  coherente("retroceso");
  EXPECT_EQ(cambios, 1);

  const int g = fronteras()[2];
  ponCursor(g - 1);
  QTest::keyClick(caja->area(), Qt::Key_Delete);
  esperado.erase(static_cast<size_t>(g - 1 - 2), 1);  // the character after the break
  EXPECT_TRUE(iguales(actual(), esperado));
  coherente("suprimir");

  // One press of an arrow is one character of the text, break or not.
  const int h = fronteras()[2];
  ponCursor(h - 1);
  QTest::keyClick(caja->area(), Qt::Key_Right);
  QTest::keyClicks(caja->area(), QStringLiteral("R"));
  esperado.insert(static_cast<size_t>(h - 3 + 1), U"R");
  EXPECT_TRUE(iguales(actual(), esperado));
  ponCursor(h + 1);
  QTest::keyClick(caja->area(), Qt::Key_Left);
  QTest::keyClick(caja->area(), Qt::Key_Left);
  QTest::keyClicks(caja->area(), QStringLiteral("L"));
  esperado.insert(static_cast<size_t>(h + 1 - 3 - 2), U"L");
  EXPECT_TRUE(iguales(actual(), esperado));
  coherente("flechas");

  // Emptying a block leaves no empty line behind; the next key goes on
  // with the text before the break.
  const std::vector<int> fr = fronteras();
  ponCursor(fr[4] - 1, fr[3] + 1);
  QTest::keyClick(caja->area(), Qt::Key_Delete);
  QTest::keyClick(caja->area(), Qt::Key_Backspace);
  coherente("bloque vaciado");
  QTest::keyClick(caja->area(), Qt::Key_Backspace);
  coherente("tras el bloque vaciado");
  esperado.erase(static_cast<size_t>(fr[3] - 4 - 1), static_cast<size_t>(fr[4] - 1 - fr[3] + 1));
  EXPECT_TRUE(iguales(actual(), esperado));
}

TEST_F(LineaLargaTest, EnterAtABreakMakesOneRealLineEnd) {
  for (const bool alFinal : {false, true}) {
    pon(lineaLarga());
    const int f = fronteras()[0];
    ponCursor(alFinal ? f - 1 : f);
    int cambios = 0;
    const auto id = caja->eventos.Change.conecta([&] { ++cambios; });
    QTest::keyClick(caja->area(), Qt::Key_Return);
    caja->eventos.Change.desconecta(id);
    EXPECT_EQ(cambios, 1) << alFinal;
    kestrin::Cadena esperado = original;
    esperado.insert(static_cast<size_t>(f - 1), U"\n");
    EXPECT_TRUE(iguales(actual(), esperado)) << alFinal;
    coherente(alFinal ? "intro al final del bloque" : "intro al principio del bloque");
    caja->area()->undo();
    EXPECT_TRUE(iguales(actual(), original)) << alFinal;
    coherente("deshecho");
  }
}

TEST_F(LineaLargaTest, CutAndUndoAcrossBreaksKeepTheText) {
  pon(lineaLarga());
  const std::vector<int> f = fronteras();
  const int desde = f[0] - 5;
  const int hasta = f[2] + 5;
  const auto realDesde = static_cast<size_t>(desde);
  const auto realHasta = static_cast<size_t>(hasta - 3);
  ponCursor(hasta, desde);
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(caja->area(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QString::fromStdU32String(original.substr(realDesde, realHasta - realDesde)));
  kestrin::Cadena esperado = original;
  esperado.erase(realDesde, realHasta - realDesde);
  EXPECT_TRUE(iguales(actual(), esperado));
  coherente("cortado");
  const int bloquesCortado = caja->area()->document()->blockCount();

  caja->area()->undo();
  EXPECT_TRUE(iguales(actual(), original));
  coherente("deshecho");
  EXPECT_EQ(fronteras(), f);  // the breaks are back where they were
  caja->area()->redo();
  EXPECT_TRUE(iguales(actual(), esperado));
  EXPECT_EQ(caja->area()->document()->blockCount(), bloquesCortado);
  caja->area()->undo();
  EXPECT_TRUE(iguales(actual(), original));

  // Typing over a selection across a break, then undo.
  ponCursor(f[1] + 3, f[1] - 3);
  QTest::keyClicks(caja->area(), QStringLiteral("Q"));
  esperado = original;
  esperado.replace(static_cast<size_t>(f[1] - 3 - 1), 5, U"Q");
  EXPECT_TRUE(iguales(actual(), esperado));
  coherente("sobrescrito");
  caja->area()->undo();
  EXPECT_TRUE(iguales(actual(), original));
}

TEST_F(LineaLargaTest, RandomEditsKeepTextAndAreaInStepAndUndoRestoresAll) {
  pon(lineaLarga(600, 6000));
  std::mt19937 azar(20261210);
  struct Tecla {
    Qt::Key tecla;
    Qt::KeyboardModifiers mods;
  };
  const Tecla teclas[] = {
      {Qt::Key_Backspace, Qt::NoModifier},      {Qt::Key_Delete, Qt::NoModifier},
      {Qt::Key_Return, Qt::NoModifier},         {Qt::Key_Left, Qt::NoModifier},
      {Qt::Key_Right, Qt::ShiftModifier},       {Qt::Key_X, Qt::ControlModifier},
      {Qt::Key_Backspace, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier}};
  for (int paso = 0; paso < 300; ++paso) {
    const int largo = caja->area()->document()->characterCount() - 1;
    // Mostly at or next to a break, where the faults would be.
    const std::vector<int> f = fronteras();
    int p = static_cast<int>(azar() % static_cast<unsigned>(largo + 1));
    if (!f.empty() && azar() % 3 != 0)
      p = std::clamp(f[azar() % f.size()] + static_cast<int>(azar() % 3) - 1, 0, largo);
    const int ancla =
        azar() % 4 == 0 ? std::clamp(p + static_cast<int>(azar() % 41) - 20, 0, largo) : p;
    ponCursor(p, ancla);
    if (azar() % 3 == 0) {
      QTest::keyClicks(caja->area(), QStringLiteral("k "));
    } else {
      const Tecla& t = teclas[azar() % std::size(teclas)];
      QTest::keyClick(caja->area(), t.tecla, t.mods);
    }
    const std::string donde = "paso " + std::to_string(paso);
    ASSERT_TRUE(iguales(caja->textoMostrado().toStdU32String(), actual())) << donde;
  }
  coherente("tras las ediciones");
  const kestrin::Cadena final = actual();
  while (caja->area()->document()->isUndoAvailable()) caja->area()->undo();
  EXPECT_TRUE(iguales(actual(), original));
  EXPECT_TRUE(iguales(caja->textoMostrado().toStdU32String(), original));
  while (caja->area()->document()->isRedoAvailable()) caja->area()->redo();
  EXPECT_TRUE(iguales(actual(), final));
}

TEST_F(LineaLargaTest, ToolbarPasteOfALongLineIsCutAndUndone) {
  pon(U"corto");
  const kestrin::Cadena larga = lineaLarga();
  QGuiApplication::clipboard()->setText(QString::fromStdU32String(larga));
  caja->boton(QStringLiteral("pegar"))->trigger();
  EXPECT_TRUE(iguales(actual(), larga));
  EXPECT_GT(caja->area()->document()->blockCount(), 3);
  coherente("pegado");
  caja->boton(QStringLiteral("deshacer"))->trigger();
  EXPECT_TRUE(iguales(actual(), U"corto"));
  caja->boton(QStringLiteral("deshacer"))->trigger();
}

TEST_F(CajaTest, KeyPressCanChangeOrSwallowTheKeyBeforeTheSpaceMapping) {
  std::vector<int16_t> vistas;
  caja->eventos.KeyPress.conecta([&](int16_t& a) {
    vistas.push_back(a);
    if (a == 'x') a = 0;         // swallowed
    if (a == 'q') a = ' ';       // becomes a space, then the substitute
  });
  caja->setMostrarEspaciosComo(QStringLiteral("_"));
  QTest::keyClicks(caja->area(), QStringLiteral("axq "));
  EXPECT_EQ(mostrado(), QStringLiteral("a__"));
  EXPECT_EQ(vistas, (std::vector<int16_t>{'a', 'x', 'q', ' '}));
}

TEST_F(CajaTest, SavedFileHoldsTheTagAndCodePageBytesAndReadsBack) {
  caja->setCSTexto(texto(U"Año·señal", kestrin::CSKVig));
  const QString r = ruta("texto.ORV");
  escribe("texto.ORV", "contenido anterior");
  ASSERT_TRUE(caja->GuardaFichero(r));
  EXPECT_EQ(lee(r), QByteArray("[ORVKey=008]A\xF1o\xB7se\xF1" "al"));

  ORVExtTextBox otra(&ventana);
  ASSERT_TRUE(otra.LeeFichero(r));
  EXPECT_EQ(otra.Key(), kestrin::CSKVig);
  EXPECT_EQ(otra.CSTexto()->Texto(), U"Año·señal");

  // BeforeSave may change what is written.
  caja->eventos.BeforeSave.conecta([](QString& t) { t += QStringLiteral("!"); });
  ASSERT_TRUE(caja->GuardaFichero(r));
  EXPECT_TRUE(lee(r).endsWith("al!"));
}

TEST_F(CajaTest, FailedSaveKeepsTheOldFile) {
  const QString r = escribe("viejo.ORV", "intacto");
  caja->setCSTexto(texto(U"nuevo", kestrin::CSKNone));
  EXPECT_FALSE(caja->GuardaFichero(dir.path()));  // a folder is not overwritten
  EXPECT_FALSE(caja->GuardaFichero(ruta("no/existe/x.ORV")));
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  const bool guardado = caja->GuardaFichero(r);
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (guardado) GTEST_SKIP() << "the folder stays writable (running as root)";
  EXPECT_EQ(lee(r), QByteArray("intacto"));
}

// The save command gives a new name typed without an extension the filter's
// one, so the open dialog lists the file again.
TEST_F(CajaTest, SaveCommandAddsTheExtensionOnlyWhenTheNameHasNone) {
  struct Caso {
    const char* filtro;
    const char* tecleado;
    const char* guardado;
  };
  const Caso casos[] = {
      {"Archivos de texto de Orvane|*.ORV", "texto", "texto.ORV"},
      {"Archivos de texto de Orvane|*.ORV", "x.orv", "x.orv"},
      {"Archivos de texto de Orvane|*.ORV", "notas.txt", "notas.txt"},
      {"Archivos de texto de Orvane|*.ORV", "punto.", "punto.ORV"},
      {"Archivos de texto de Orvane|*.ORV", "existe", "existe"},  // an existing file, as named
      {"Textos|*.txt;*.ORV", "otro", "otro.txt"},
      {"Todo|*", "libre", "libre"},
  };
  escribe("existe", "viejo");
  caja->setCSTexto(texto(U"guardado", kestrin::CSKNone));
  for (const auto& c : casos) {
    caja->setFileFilter(QString::fromLatin1(c.filtro));
    caja->pideFichero = [&](bool, const QString&, const QString&) { return ruta(c.tecleado); };
    const QStringList antes = QDir(dir.path()).entryList(QDir::Files);
    caja->Comando(QStringLiteral("guardar"));
    EXPECT_EQ(lee(ruta(c.guardado)), QByteArray("guardado")) << c.tecleado;
    QStringList nuevos = QDir(dir.path()).entryList(QDir::Files);
    for (const QString& n : antes) nuevos.removeOne(n);
    const QStringList esperados =
        QFile::exists(ruta(c.guardado)) && !antes.contains(QString::fromLatin1(c.guardado))
            ? QStringList{QString::fromLatin1(c.guardado)}
            : QStringList{};
    EXPECT_EQ(nuevos, esperados) << c.tecleado;  // one file, not "x.orv.ORV" beside it
  }
  EXPECT_TRUE(avisos.empty());
}

// Places that refuse a file even to root: the message says which and why, the
// box keeps its text, nothing is written and nothing raised as if done.
TEST_F(CajaTest, FailedSaveSaysWhyAndKeepsTheText) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("carpeta")));
  escribe("fichero.txt", "no es una carpeta");
  struct Caso {
    QString ruta;
    QStringList razones;
  };
  std::vector<Caso> casos = {
      {ruta("carpeta"), {QStringLiteral("es una carpeta")}},
      {ruta("fichero.txt") + QStringLiteral("/x.ORV"), {QStringLiteral("la carpeta no existe")}},
      {ruta("falta/x.ORV"), {QStringLiteral("la carpeta no existe")}},
  };
  // The kernel's own folders take no new files from anyone.
  if (QFileInfo(QStringLiteral("/sys")).isDir())
    casos.push_back(
        {QStringLiteral("/sys/orvane-prueba.ORV"),
         {QStringLiteral("permiso denegado"), QStringLiteral("el disco es de solo lectura")}});
  const auto t = texto(U"no se pierde", kestrin::CSKAfin);
  caja->setCSTexto(t);
  const QString inicial = carpetaInicial();
  int cambios = 0;
  caja->eventos.Change.conecta([&] { ++cambios; });
  for (const auto& c : casos) {
    avisos.clear();
    caja->pideFichero = [&](bool, const QString&, const QString&) { return c.ruta; };
    caja->Comando(QStringLiteral("guardar"));
    ASSERT_EQ(avisos.size(), 1u) << c.ruta.toStdString();
    const QString prefijo =
        QStringLiteral("Fichero erróneo|No se puede escribir el fichero «%1»: ").arg(c.ruta);
    ASSERT_TRUE(avisos[0].startsWith(prefijo)) << avisos[0].toStdString();
    const QString razon = avisos[0].mid(prefijo.size()).chopped(1);
    EXPECT_TRUE(c.razones.contains(razon)) << avisos[0].toStdString();
    EXPECT_TRUE(avisos[0].endsWith(u'.'));
    EXPECT_FALSE(QFileInfo(c.ruta).isFile()) << c.ruta.toStdString();
    EXPECT_FALSE(caja->GuardaFichero(c.ruta));
    EXPECT_EQ(caja->CSTexto(), t);
    EXPECT_EQ(t->Texto(), U"no se pierde");
    EXPECT_EQ(mostrado(), QStringLiteral("no se pierde"));
  }
  EXPECT_EQ(cambios, 0);
  EXPECT_EQ(carpetaInicial(), inicial);  // a failed save is not where the next dialog starts
}

// A file that cannot be read (gone, a folder, under a file, failing half
// way) is said, and the text shown stays, in the box and in its object.
TEST_F(CajaTest, UnreadableFileSaysWhyAndKeepsTheText) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("carpeta")));
  escribe("fichero.txt", "no es una carpeta");
  struct Caso {
    QString ruta;
    QString razon;
  };
  std::vector<Caso> casos = {
      {ruta("falta.ORV"), QStringLiteral("no existe")},
      {ruta("carpeta"), QStringLiteral("es una carpeta")},
      {ruta("fichero.txt") + QStringLiteral("/x.ORV"), QStringLiteral("la carpeta no existe")},
  };
  // Opens, but its first page is not mapped: the reading fails.
  if (QFile::exists(QStringLiteral("/proc/self/mem")))
    casos.push_back(
        {QStringLiteral("/proc/self/mem"), QStringLiteral("error de entrada o salida")});
  const auto t = texto(U"queda", kestrin::CSKAfin);
  caja->setCSTexto(t);
  int cambios = 0;
  caja->eventos.Change.conecta([&] { ++cambios; });
  for (const auto& c : casos) {
    avisos.clear();
    caja->pideFichero = [&](bool, const QString&, const QString&) { return c.ruta; };
    caja->Comando(QStringLiteral("abrir"));
    EXPECT_EQ(avisos, std::vector<QString>{
                          QStringLiteral("Fichero erróneo|No se puede leer el fichero «%1»: %2.")
                              .arg(c.ruta, c.razon)});
    EXPECT_FALSE(caja->LeeFichero(c.ruta));
    EXPECT_EQ(caja->CSTexto(), t);
    EXPECT_EQ(t->Texto(), U"queda");
    EXPECT_EQ(mostrado(), QStringLiteral("queda"));
  }
  EXPECT_EQ(cambios, 0);
}

// Without avisa replaced, the message is a box the user has to close.
TEST(CajaMensaje, FileErrorsShowAMessageBox) {
  QWidget ventana;
  auto* caja = new ORVExtTextBox(&ventana);
  caja->setCSTexto(texto(U"queda", kestrin::CSKNone));
  QString titulo;
  QString mensaje;
  QTimer::singleShot(0, &ventana, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* m = qobject_cast<QMessageBox*>(w); m && m->isVisible()) {
        titulo = m->windowTitle();
        mensaje = m->text();
        m->close();
      }
  });
  EXPECT_FALSE(caja->LeeFichero(QStringLiteral("/nada/falta.ORV")));
  EXPECT_EQ(titulo, QStringLiteral("Fichero erróneo"));
  EXPECT_EQ(mensaje,
            QStringLiteral("No se puede leer el fichero «/nada/falta.ORV»: la carpeta no existe."));
  EXPECT_EQ(caja->CSTexto()->Texto(), U"queda");
}

TEST_F(CajaTest, FilesReadAsUtf8OnlyWhenTheyAreUtf8) {
  struct Caso {
    const char* nombre;
    QByteArray bytes;
    QString esperado;
  };
  const Caso casos[] = {
      {"utf-8", QByteArray("a\xC3\xB1o \xE2\x82\xAC"), QStringLiteral("año €")},
      {"code page", QByteArray("a\xF1o \x80"), QStringLiteral("año €")},
      {"ascii", QByteArray("hola"), QStringLiteral("hola")},
      {"utf-8 roto", QByteArray("\xC3\xB1\xC3"), QStringLiteral("Ã±Ã")},
      {"sobrelargo", QByteArray("\xC0\xAF"), QStringLiteral("À¯")},
  };
  for (const auto& c : casos) {
    ASSERT_TRUE(caja->LeeFichero(escribe("c.txt", c.bytes))) << c.nombre;
    EXPECT_EQ(mostrado(), c.esperado) << c.nombre;
  }
  EXPECT_TRUE(detalle::esUtf8MultiByte("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(detalle::esUtf8MultiByte("\xED\xA0\x80"));  // a surrogate
  EXPECT_FALSE(detalle::esUtf8MultiByte("\xF4\x90\x80\x80"));  // above U+10FFFF
  // The conversions at the Qt edge keep every character, pairs included.
  const std::u32string mezcla = U"añ😀·\U0010FFFFz";
  EXPECT_EQ(detalle::aCadena(detalle::aQString(mezcla)), mezcla);
  EXPECT_EQ(detalle::aQString(mezcla), QString::fromStdU32String(mezcla));
  EXPECT_EQ(detalle::aQString(std::u32string{U'a', char32_t{0x110000}, U'b'}), QStringLiteral("a\uFFFDb"));
  EXPECT_EQ(detalle::aCadena(QString(QChar(0xD800)) + u'x'), U"\uFFFDx");
}

TEST_F(CajaTest, BinaryFileLoadsAsText) {
  QByteArray todos;
  for (int i = 0; i < 4096; ++i) todos.append(static_cast<char>(i % 256));
  ASSERT_TRUE(caja->LeeFichero(escribe("binario", todos)));
  EXPECT_EQ(caja->CSTexto()->Texto().size(), 4096u);
}

TEST_F(CajaTest, SeparatorsRaiseGetTokenWithWhatWasReadSoFar) {
  std::vector<std::pair<QString, QString>> tokens;
  std::vector<QString> eventos;
  caja->eventos.BeforeRead.conecta([&] { eventos.push_back(QStringLiteral("BeforeRead")); });
  caja->eventos.GetToken.conecta([&](QString& leido, QString& sep) { tokens.emplace_back(leido, sep); });
  caja->eventos.AfterRead.conecta([&](QString& t, bool&) { eventos.push_back(t); });
  caja->setSeparadores(QStringLiteral(" "));
  caja->setMostrarEspaciosComo(QStringLiteral("·"));
  ASSERT_TRUE(caja->LeeFichero(escribe("t", "AB CD")));
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0], std::make_pair(QStringLiteral("AB"), QStringLiteral(" ")));
  EXPECT_EQ(eventos, (std::vector<QString>{QStringLiteral("BeforeRead"), QStringLiteral("AB·CD")}));
  EXPECT_EQ(mostrado(), QStringLiteral("AB·CD"));
}

TEST_F(CajaTest, AfterReadCanChangeOrCancel) {
  caja->setCSTexto(texto(U"antes", kestrin::CSKNone));
  bool cancelar = true;
  caja->eventos.AfterRead.conecta([&](QString& t, bool& cancel) {
    cancel = cancelar;
    t = t.toUpper();
  });
  EXPECT_FALSE(caja->LeeFichero(escribe("t", "nuevo")));
  EXPECT_EQ(mostrado(), QStringLiteral("antes"));
  cancelar = false;
  EXPECT_TRUE(caja->LeeFichero(escribe("t", "nuevo")));
  EXPECT_EQ(mostrado(), QStringLiteral("NUEVO"));
}

TEST_F(CajaTest, CtrlVChecksAndTakesTheKeyToolbarPasteDoesNeither) {
  caja->setKeysAccepted(kestrin::CSKNone | kestrin::CSKAfin);
  caja->setCSTexto(texto(U"uno", kestrin::CSKNone));
  QGuiApplication::clipboard()->setText(QStringLiteral("[ORVKey=002]pegado"));
  caja->area()->moveCursor(QTextCursor::End);
  QTest::keyClick(caja->area(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(mostrado(), QStringLiteral("pegado"));
  EXPECT_EQ(caja->Key(), kestrin::CSKAfin);

  QGuiApplication::clipboard()->setText(QStringLiteral("[ORVKey=008]vigenere"));
  QTest::keyClick(caja->area(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(mostrado(), QStringLiteral("pegado"));
  EXPECT_EQ(avisos, std::vector<QString>{kRechazo});

  // The context menu sends the same message as the keys.
  QGuiApplication::clipboard()->setText(QStringLiteral("[ORVKey=002]menu"));
  hookwell::EnviaMensaje(caja->area(), hookwell::kWmPaste);
  EXPECT_EQ(mostrado(), QStringLiteral("menu"));
  QGuiApplication::clipboard()->setText(QStringLiteral("[ORVKey=008]vigenere"));

  // The toolbar replaces everything and keeps the box's key, tag and all.
  caja->boton(QStringLiteral("pegar"))->trigger();
  EXPECT_EQ(mostrado(), QStringLiteral("[ORVKey=008]vigenere"));
  EXPECT_EQ(caja->Key(), kestrin::CSKAfin);
  EXPECT_EQ(avisos.size(), 1u);
}

TEST_F(CajaTest, CopyTakesTheWholeTextWithoutTagAndCutEmpties) {
  caja->setCSTexto(texto(U"todo el texto", kestrin::CSKXOR));
  QTextCursor c = caja->area()->textCursor();
  c.setPosition(0);
  c.setPosition(4, QTextCursor::KeepAnchor);
  caja->area()->setTextCursor(c);
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(caja->area(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("todo el texto"));
  QGuiApplication::clipboard()->clear();
  caja->boton(QStringLiteral("copiar"))->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("todo el texto"));
  caja->boton(QStringLiteral("cortar"))->trigger();
  EXPECT_EQ(mostrado(), QString());
  EXPECT_EQ(caja->Key(), kestrin::CSKXOR);
  caja->boton(QStringLiteral("deshacer"))->trigger();
  EXPECT_EQ(mostrado(), QStringLiteral("todo el texto"));
}

TEST_F(CajaTest, DroppingTwoFilesShowsTheSecondUnlessItIsRefused) {
  const QString a = escribe("a.ORV", "[ORVKey=002]primero");
  const QString b = escribe("b.ORV", "[ORVKey=002]segundo");
  const QString v = escribe("v.ORV", "[ORVKey=008]vigenere");
  suelta({a, b});
  EXPECT_EQ(mostrado(), QStringLiteral("segundo"));
  caja->setKeysAccepted(kestrin::CSKAfin);
  suelta({a, v});
  EXPECT_EQ(mostrado(), QStringLiteral("primero"));
  EXPECT_EQ(avisos, std::vector<QString>{kRechazo});
}

TEST_F(CajaTest, OpenCommandStartsInTheMailboxAndCancelChangesNothing) {
  QString carpetaPedida;
  QString respuesta;
  caja->pideFichero = [&](bool guardar, const QString& carpeta, const QString& filtro) {
    EXPECT_FALSE(guardar);
    EXPECT_EQ(filtro, QStringLiteral("Archivos de texto de Orvane|*.ORV"));
    carpetaPedida = carpeta;
    return respuesta;
  };
  caja->setCSTexto(texto(U"queda", kestrin::CSKNone));
  caja->Comando(QStringLiteral("abrir"));
  EXPECT_EQ(mostrado(), QStringLiteral("queda"));
  EXPECT_EQ(carpetaPedida, carpetaInicial());
  EXPECT_FALSE(carpetaPedida.isEmpty());
  respuesta = escribe("abierto.ORV", "[ORVKey=016]abierto");
  caja->Comando(QStringLiteral("abrir"));
  EXPECT_EQ(mostrado(), QStringLiteral("abierto"));
  EXPECT_EQ(caja->Key(), kestrin::CSKXOR);
}

// The dialogs themselves: both cases of our extension and all files offered,
// the extension added by the save dialog, the start folder of carpetaInicial.
TEST_F(CajaTest, DialogsListOurFilesInEitherCaseAndAllFiles) {
  struct Caso {
    const char* filtro;
    QStringList filtros;
    const char* sufijo;
  };
  const Caso casos[] = {
      {"Archivos de texto de Orvane|*.ORV",
       {QStringLiteral("Archivos de texto de Orvane (*.ORV *.orv)"),
        QStringLiteral("Todos los ficheros (*)")},
       "ORV"},
      {"Textos|*.txt;*.Orv|Todo|*",
       {QStringLiteral("Textos (*.txt *.TXT *.Orv *.ORV *.orv)"), QStringLiteral("Todo (*)")},
       "txt"},
  };
  for (const auto& c : casos) {
    caja->setFileFilter(QString::fromLatin1(c.filtro));
    for (const char* orden : {"abrir", "guardar"}) {
      QStringList filtros;
      QString carpeta;
      QString sufijo;
      bool visto = false;
      QTimer::singleShot(0, &ventana, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
          if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) {
            visto = true;
            filtros = d->nameFilters();
            carpeta = d->directory().absolutePath();
            sufijo = d->defaultSuffix();
            d->reject();
          }
      });
      caja->Comando(QString::fromLatin1(orden));
      ASSERT_TRUE(visto) << orden;
      EXPECT_EQ(filtros, c.filtros) << c.filtro << " " << orden;
      EXPECT_EQ(carpeta, QDir(carpetaInicial()).absolutePath()) << orden;
      const bool guardar = QLatin1String(orden) == QLatin1String("guardar");
      EXPECT_EQ(sufijo, guardar ? QString::fromLatin1(c.sufijo) : QString()) << orden;
    }
  }
}

// Where the dialogs start: a mailbox the profile names comes first; the
// program's own folder, which the connection maps without one, never; then
// the folder of the last text read or saved by any box; then the documents
// folder, or home.
TEST_F(CajaTest, DialogsStartInTheMailboxElseWhereTheLastTextWas) {
  // The workspace and the user's folders come back however the case ends.
  struct Restaura {
    std::shared_ptr<kestrin::ORVW> espacio = espacioTrabajo();
    QByteArray home = qgetenv("HOME");
    QByteArray config = qgetenv("XDG_CONFIG_HOME");
    ~Restaura() {
      ponEspacioTrabajo(espacio);
      qputenv("HOME", home);
      if (config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
      else
        qputenv("XDG_CONFIG_HOME", config);
    }
  } restaura;
  QTemporaryDir casa;
  QTemporaryDir programa;
  QTemporaryDir buzon;
  qputenv("HOME", casa.path().toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (casa.path() + QStringLiteral("/.config")).toLocal8Bit());
  auto espacio = [&] {
    ponEspacioTrabajo(std::make_shared<kestrin::ORVW>(kestrin::ORVW::Entorno{
        programa.path().toStdU32String(), std::make_shared<linkmere::ProveedorPrueba>()}));
  };
  espacio();
  ASSERT_EQ(espacioTrabajo()->NetCnx()->ErrorNumber(), 0);

  caja->setCSTexto(texto(U"uno", kestrin::CSKNone));
  ASSERT_TRUE(caja->GuardaFichero(ruta("guardado.ORV")));
  EXPECT_EQ(carpetaInicial(), dir.path());
  {
    QTemporaryDir otra;
    QFile f(otra.filePath(QStringLiteral("leido.ORV")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("dos");
    f.close();
    ORVExtTextBox segunda(&ventana);  // any box: the folder is the process's
    ASSERT_TRUE(segunda.LeeFichero(f.fileName()));
    EXPECT_EQ(carpetaInicial(), otra.path());
  }
  // That folder is gone: home, or the documents folder once there is one.
  EXPECT_EQ(carpetaInicial(), casa.path());
  ASSERT_TRUE(QDir(casa.path()).mkdir(QStringLiteral("Documents")));
  EXPECT_EQ(carpetaInicial(), casa.path() + QStringLiteral("/Documents"));

  QFile perfil(programa.filePath(QStringLiteral("ORV.INI")));
  ASSERT_TRUE(perfil.open(QIODevice::WriteOnly));
  perfil.write("[Buz\xF3n]\r\nURL=" + buzon.path().toLocal8Bit() + "\r\n");
  perfil.close();
  espacio();
  EXPECT_EQ(carpetaInicial(), buzon.path());
}

TEST_F(CajaTest, AddedButtonsReachButtonClick) {
  QAction* recibido = nullptr;
  caja->eventos.ButtonClick.conecta([&](QAction*& b) { recibido = b; });
  QAction* nuevo = caja->AddButton(QIcon(), QIcon(), QStringLiteral("analiza"));
  nuevo->trigger();
  EXPECT_EQ(recibido, nuevo);
  recibido = nullptr;
  caja->boton(QStringLiteral("copiar"))->trigger();
  EXPECT_EQ(recibido, nullptr);
}

TEST_F(CajaTest, PropertiesAreReadAndWrittenInTheirOrder) {
  caja->setKeysAccepted(kestrin::CSKVig);
  caja->setBotonAbrir(false);
  caja->setMostrarEspaciosComo(QStringLiteral("·"));
  caja->setFontName(QStringLiteral("Courier New"));
  caja->setKey(kestrin::CSKVig);
  kestrin::Propiedades p;
  caja->GuardaPropiedades(p);
  std::vector<kestrin::Cadena> escritas = p.Nombres();
  const std::vector<kestrin::Cadena> ordenEscritura = {
      U"KeysAccepted", U"BackColor", U"ForeColor", U"Enabled", U"Font", U"Appearance",
      U"BackStyle", U"BorderStyle", U"FileName", U"BotonCortar", U"BotonPegar", U"BotonCopiar",
      U"BotonDeshacer", U"BotonAbrir", U"BotonGuardar", U"Locked", U"Separadores", U"FontSize",
      U"FontName", U"FontItalic", U"FontBold", U"FileFilter", U"Key", U"MostrarEspaciosComo"};
  EXPECT_EQ(escritas, ordenEscritura);

  ORVExtTextBox otra(&ventana);
  p.OlvidaLecturas();
  otra.LeePropiedades(p);
  std::vector<kestrin::Cadena> ordenLectura = ordenEscritura;
  std::rotate(ordenLectura.begin() + 9, ordenLectura.begin() + 13, ordenLectura.begin() + 14);
  EXPECT_EQ(p.Lecturas(), ordenLectura);
  EXPECT_EQ(otra.KeysAccepted(), kestrin::CSKVig);
  EXPECT_FALSE(otra.BotonAbrir());
  EXPECT_TRUE(otra.BotonGuardar());
  EXPECT_EQ(otra.MostrarEspaciosComo(), QStringLiteral("·"));
  EXPECT_EQ(otra.FontName(), QStringLiteral("Courier New"));
  EXPECT_EQ(otra.Key(), kestrin::CSKVig);
}

}  // namespace
}  // namespace pemmick
