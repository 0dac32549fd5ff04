// Start-up helpers: class tables, the shared workspace object, the event hook,
// Qt's texts in Spanish.
#include "orv/arranque.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include "framer/framer.h"
#include "halvard/halvard.h"
#include "hookwell/hookwell.h"
#include "kestrin/orvw.h"
#include "kestrin/procesa.h"
#include "linkmere/linkmere.h"
#include "numbrel/numbrel.h"
#include "numbrel/orvbignum.h"
#include "resizer/resizer.h"
#include "tarnel/tarnel.h"
#include "vitrel/vitrel.h"

namespace orv {

namespace {

std::shared_ptr<kestrin::ORVW>& espacio() {
  static std::shared_ptr<kestrin::ORVW> w;
  return w;
}

}  // namespace

void registraBibliotecas() {
  linkmere::registra();
  tarnel::registra();
  numbrel::registra();
  halvard::registra();
  hookwell::registra();
  resizer::registra();
  vitrel::registra();
  framer::registra();
}

kestrin::ORVW& ORVW() {
  auto& w = espacio();
  if (!w) w = std::make_shared<kestrin::ORVW>();
  return *w;
}

numbrel::ORVBigNum& BigNum() {
  static numbrel::ORVBigNum servicio;
  return servicio;
}

void fijaORVW(std::shared_ptr<kestrin::ORVW> w) {
  espacio() = std::move(w);
}

void instalaProcesaEventos() {
  kestrin::fijaProcesaEventos([] { QCoreApplication::processEvents(); });
}

bool instalaTraducciones() {
  auto* app = QCoreApplication::instance();
  if (!app) return false;
  // One per application object: a second call finds it in place.
  static QPointer<QTranslator> instalada;
  if (instalada) return true;
  auto* traductor = new QTranslator(app);
  // qtbase holds every text of the widgets the program uses.
  if (!traductor->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(traductor)) {
    delete traductor;
    return false;
  }
  instalada = traductor;
  return true;
}

}  // namespace orv
