// Screenshots of the Vigenère and XOR laboratories, filled as a student
// leaves them: a text enciphered, then each stage of the attack run, the
// period aids (prefix_kasiski.png) and a short text solved (prefix_resolver.png).
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

#include <cstdio>

#include "capturas.h"
#include "orv/orvcsperiodico.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"

namespace capturas {
namespace {

// Prose long enough for the attack to find the key (about 1300 characters).
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

template <typename W>
bool capturasDe(const char* prefijo, const QString& clave) {
  W w;
  // A picture program shows no boxes: whatever the window would say is printed.
  const auto imprime = [](const QString& titulo, const QString& texto) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(titulo), qPrintable(texto));
  };
  w.avisa = imprime;
  w.informa = imprime;
  const auto nombre = [prefijo](const char* etapa) {
    return QStringLiteral("%1_%2.png").arg(QLatin1String(prefijo), QLatin1String(etapa)).toLatin1();
  };
  bool bien = true;

  w.TxtTO()->area()->setPlainText(kProsa);
  w.TxtClave()->setText(clave);
  emit w.cmdCifra()->Click();
  bien &= ventana(w, nombre("cifrado").constData());

  w.tsCripto()->setCurrentIndex(1);
  w.AnalizaPeriodo();
  bien &= ventana(w, nombre("periodo").constData());

  w.tsAnaliza()->setCurrentIndex(1);
  w.AnalizaDesplazamientos();
  bien &= ventana(w, nombre("desplazamientos").constData());

  w.tsAnaliza()->setCurrentIndex(2);
  bien &= ventana(w, nombre("clave").constData());

  // The aids beside the index: Kasiski's test and the autocorrelation.
  w.tsAnaliza()->setCurrentIndex(0);
  bien &= ventana(w, nombre("kasiski").constData());

  // A short text (forty symbols per key symbol) solved from the statistics.
  w.tsCripto()->setCurrentIndex(0);
  w.TxtTO()->area()->setPlainText(kProsa.left(40 * clave.size()));
  w.TxtClave()->setText(clave);
  emit w.cmdCifra()->Click();
  w.tsCripto()->setCurrentIndex(1);
  w.TextPeriodo()->setText(QString::number(clave.size()));
  emit w.TextPeriodo()->returnPressed();
  w.tsAnaliza()->setCurrentIndex(3);
  w.Resuelve();
  bien &= ventana(w, nombre("resolver").constData());
  return bien;
}

}  // namespace

bool periodicos() {
  bool bien = capturasDe<orv::ORVCSVigenere>("vigenere", QStringLiteral("clave"));
  bien &= capturasDe<orv::ORVCSXOR>("xor", QStringLiteral("secreto"));
  return bien;
}

}  // namespace capturas
