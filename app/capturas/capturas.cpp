// Screenshots of the program, rendered offscreen at twice the pixel density
// (or the density given) for review by eye. Usage: orv_capturas <carpeta> [densidad]
//   principal.png   the main window with the affine and analyser laboratories open
//   afin.png        the affine laboratory alone
//   analizador.png  the analyser laboratory alone
//   acercade.png    the About window
//   arte.png        the menu icons, the window icon, the background bitmaps
//                   and the spreadsheet's toolbar bitmaps
//   dialogo_guardar.png, mensaje_fichero.png   a text box's save dialog and
//                   the message of a file that cannot be read, in Spanish
//   and each laboratory's own pictures (capturas_<laboratorio>.cpp)
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "capturas.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/orvacercade.h"
#include "orv/orvanalizar.h"
#include "orv/orvcsafin.h"
#include "orv/orvprincipal.h"
#include "orv/version.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"

namespace capturas {

QString carpeta;

void asienta() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool guarda(const QPixmap& imagen, const char* nombre) {
  const QString ruta = QDir(carpeta).filePath(QLatin1String(nombre));
  if (!imagen.save(ruta, "PNG")) {
    std::fprintf(stderr, "No se puede escribir %s\n", qPrintable(ruta));
    return false;
  }
  std::printf("%s\n", qPrintable(ruta));
  return true;
}

bool ventana(QWidget& w, const char* nombre) {
  w.show();
  asienta();
  return guarda(w.grab(), nombre);
}

const QString kProsa = QStringLiteral(
    "En un lugar de la Mancha, de cuyo nombre no quiero acordarme, no ha mucho tiempo que vivía "
    "un hidalgo de los de lanza en astillero, adarga antigua, rocín flaco y galgo corredor. Una "
    "olla de algo más vaca que carnero, salpicón las más noches, duelos y quebrantos los "
    "sábados, lentejas los viernes, algún palomino de añadidura los domingos, consumían las tres "
    "partes de su hacienda. El resto della concluían sayo de velarte, calzas de velludo para las "
    "fiestas con sus pantuflos de lo mismo, los días de entre semana se honraba con su vellorí "
    "de lo más fino. Tenía en su casa una ama que pasaba de los cuarenta, y una sobrina que no "
    "llegaba a los veinte, y un mozo de campo y plaza, que así ensillaba el rocín como tomaba la "
    "podadera. Frisaba la edad de nuestro hidalgo con los cincuenta años; era de complexión "
    "recia, seco de carnes, enjuto de rostro, gran madrugador y amigo de la caza. Quieren decir "
    "que tenía el sobrenombre de Quijada, o Quesada, que en esto hay alguna diferencia en los "
    "autores que deste caso escriben; aunque por conjeturas verosímiles se deja entender que se "
    "llamaba Quijana. Pero esto importa poco a nuestro cuento; basta que en la narración dél no "
    "se salga un punto de la verdad.");
const QString kMuestra = QStringLiteral(
    "En un lugar de la Mancha, de cuyo nombre no quiero acordarme, no ha mucho tiempo que vivía "
    "un hidalgo de los de lanza en astillero.");

}  // namespace capturas

namespace {

using namespace capturas;

// A laboratory as a student leaves it: the affine one with a key and a text
// enciphered, the analyser with a text counted.
void rellena(orv::ORVCSAfin& afin) {
  afin.TxtA()->setText(QStringLiteral("5"));
  afin.TxtB()->setText(QStringLiteral("7"));
  afin.TxtTO()->area()->setPlainText(kMuestra);
  emit afin.cmdCifra()->Click();
}

void rellena(orv::ORVAnalizar& analiza) {
  analiza.txtTexto(0)->area()->setPlainText(kMuestra);
  analiza.Analizar();
}

// The artwork on one sheet: each icon at 16, 32 and 64 pixels over the menu
// bar's dark grey and over white, then the bitmaps at their size and tiled.
QPixmap hojaArte() {
  const QStringList iconos = orv::arte::NombresIconos();
  const int fila = 80;
  const QSize tamano(40 + 130 * 3 + 40, 30 + fila * iconos.size() + 260 + 90);
  QPixmap hoja(tamano * qApp->devicePixelRatio());
  hoja.setDevicePixelRatio(qApp->devicePixelRatio());
  hoja.fill(Qt::white);
  QPainter p(&hoja);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRect(160, 0, 260, 30 + fila * iconos.size()), QColor(128, 128, 128));
  for (int i = 0; i < iconos.size(); ++i) {
    const int y = 30 + i * fila;
    const QIcon icono = orv::arte::Icono(iconos[i]);
    p.setPen(Qt::black);
    p.drawText(QRect(10, y, 140, 20), Qt::AlignLeft | Qt::AlignVCenter, iconos[i]);
    icono.paint(&p, QRect(10, y + 24, 16, 16));
    icono.paint(&p, QRect(40, y + 24, 32, 32));
    icono.paint(&p, QRect(180, y + 8, 64, 64));
    icono.paint(&p, QRect(260, y + 24, 32, 32));
    icono.paint(&p, QRect(310, y + 24, 16, 16), Qt::AlignCenter, QIcon::Disabled);
  }
  int y = 40 + fila * iconos.size();
  int x = 10;
  for (const QString& nombre : orv::arte::NombresBitmaps()) {
    const QImage b = orv::arte::Bitmap(nombre, hoja.devicePixelRatio());
    // The toolbar bitmaps go on a row of their own below, also shown at four
    // times their size over the toolbars' grey.
    const bool barra = nombre == u"zoom" || nombre == u"expr";
    if (barra && y < 40 + fila * iconos.size() + 250) {
      y = 40 + fila * iconos.size() + 250;
      x = 10;
    }
    p.setPen(Qt::black);
    p.drawText(QPoint(x, y), nombre);
    p.drawImage(QPointF(x, y + 8), b);
    const QSizeF paso = b.deviceIndependentSize();
    const QRectF mosaico(x + paso.width() + 10, y + 8, barra ? 4 * paso.width() : 120,
                         barra ? 4 * paso.height() : 200);
    if (barra) {
      p.fillRect(mosaico, QColor(240, 240, 240));
      p.drawImage(mosaico, b);
      x += static_cast<int>(mosaico.width()) + 60;
      continue;
    }
    for (qreal ty = 0; ty < mosaico.height(); ty += paso.height()) {
      for (qreal tx = 0; tx < mosaico.width(); tx += paso.width()) {
        p.drawImage(mosaico.topLeft() + QPointF(tx, ty), b);
      }
    }
    x += static_cast<int>(paso.width()) + 150;
  }
  return hoja;
}

// The dialog a command of the text box opens, pictured while it is up, then
// closed. False when no dialog came up.
bool dialogoDe(const std::function<void()>& orden, const char* nombre) {
  bool bien = false;
  QTimer::singleShot(300, [&] {
    if (QWidget* dialogo = QApplication::activeModalWidget()) {
      asienta();
      bien = guarda(dialogo->grab(), nombre);
      if (auto* d = qobject_cast<QDialog*>(dialogo)) d->reject();
    }
  });
  orden();
  if (!bien) std::fprintf(stderr, "No se abrió el diálogo de %s\n", nombre);
  return bien;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "Uso: orv_capturas <carpeta> [densidad]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", argc > 2 ? QByteArray(argv[2]) : QByteArray("2"));
  QApplication aplicacion(argc, argv);
  orv::instalaTraducciones();
  QApplication::setApplicationName(QString::fromLatin1(orv::kProducto));
  QApplication::setWindowIcon(orv::arte::Icono(u"A"));
  orv::registraBibliotecas();
  orv::instalaProcesaEventos();
  carpeta = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(carpeta)) {
    std::fprintf(stderr, "No se puede crear la carpeta %s\n", argv[1]);
    return 1;
  }
  bool bien = true;

  {
    orv::ORVPrincipal principal;
    principal.resize(1560, 900);
    principal.show();
    asienta();
    QWidget* afin = principal.AbreLaboratorio(QStringLiteral("afin"));
    QWidget* analiza = principal.AbreLaboratorio(QStringLiteral("analiza"));
    asienta();
    if (afin && analiza) {
      rellena(*qobject_cast<orv::ORVCSAfin*>(afin));
      rellena(*qobject_cast<orv::ORVAnalizar*>(analiza));
      auto* marcoAfin = qobject_cast<QMdiSubWindow*>(afin->parentWidget());
      auto* marcoAnaliza = qobject_cast<QMdiSubWindow*>(analiza->parentWidget());
      marcoAfin->move(12, 12);
      marcoAnaliza->move(marcoAfin->geometry().right() + 14, 12);
    }
    asienta();
    bien &= guarda(principal.grab(), "principal.png");
  }
  {
    orv::ORVCSAfin afin;
    rellena(afin);
    bien &= ventana(afin, "afin.png");
  }
  {
    orv::ORVAnalizar analiza;
    rellena(analiza);
    bien &= ventana(analiza, "analizador.png");
  }
  {
    auto* acerca = new orv::ORVAcercaDe(nullptr);
    acerca->Timer()->stop();
    bien &= ventana(*acerca, "acercade.png");
    delete acerca;
  }
  {
    // Qt's own dialogs, in Spanish as the program shows them: the save dialog
    // of a text box and the message of a file that cannot be read.
    orv::ORVCSAfin afin;
    rellena(afin);
    afin.show();
    asienta();
    pemmick::ORVExtTextBox& caja = *afin.TxtTO();
    caja.avisa = [&caja](const QString& titulo, const QString& texto) {
      QMessageBox::information(&caja, titulo, texto);
    };
    bien &= dialogoDe([&] { caja.Comando(QStringLiteral("guardar")); }, "dialogo_guardar.png");
    bien &= dialogoDe([&] { caja.LeeFichero(QStringLiteral("/no/existe/texto.ORV")); },
                      "mensaje_fichero.png");
  }
  bien &= guarda(hojaArte(), "arte.png");
  bien &= capturas::sustitucion();
  bien &= capturas::periodicos();
  bien &= capturas::hill();
  bien &= capturas::rsa();
  bien &= capturas::mochila();
  bien &= capturas::primos();
  bien &= capturas::calc();
  return bien ? 0 : 1;
}
