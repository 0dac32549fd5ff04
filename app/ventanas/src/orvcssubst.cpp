// The substitution laboratory: the key grid, the enciphering page and the
// text grid a substitution is broken in by hand.
#include "orv/orvcssubst.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

#include "estilo.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "kestrin/variante.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/calculofondo.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "qtcomun/medidas.h"
#include "rejilla/rejilla.h"
#include "tarnel/alfabeto.h"
#include "tarnel/claves.h"
#include "tarnel/orvcar.h"
#include "tarnel/orvcriptosust.h"

namespace orv {
namespace {

constexpr int kCifrado = 0;
constexpr int kCriptoanalisis = 1;
constexpr int32_t kColumnasTexto = 27;
constexpr int32_t kSimbolos = tarnel::ORVNumCar;
const QString kTitulo = QStringLiteral("Criptosistema por sustitución");
const QString kNoKey = QStringLiteral("_");

QString simbolo(char32_t c) {
  return QString::fromUcs4(&c, 1);
}

// What a cipher cell shows: spaces and line breaks as the symbol they fold to.
QString celdaCifrada(char32_t c) {
  if (c == U' ' || c == U'\n' || c == U'\r') return QStringLiteral("·");
  return simbolo(c);
}

// The system menu colour: neither a plain nor a cipher cell's.
constexpr uint32_t kColorMenu = 0x80000004;

QFont courier() {
  QFont f = estilo::fuente(QStringLiteral("Courier New"), 10);
  f.setStyleHint(QFont::TypeWriter);
  return f;
}

// Gives a grid the font and the row height it needs.
void ponFuente(Rejilla* g, const QFont& f) {
  g->setFont(f);
  g->tabla()->setFont(f);
  g->tabla()->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
}

}  // namespace

ORVCSSubst::ORVCSSubst(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSSubst"), kTitulo, parent) {
  // Load: the cryptosystem and the character reader first; the key grid's
  // state, the columns and the first page follow.
  setWindowIcon(arte::Icono(u"SUST1"));
  cs_ = creaComponente<tarnel::ORVCriptoSust>("Tarnel.ORVCriptoSust");
  car_ = creaComponente<tarnel::ORVCar>("Tarnel.ORVCar");
  construye();
  conecta();
  ActualizaClave(1, 0);
  anchoColumnas();
  paginas_->setCurrentIndex(kCifrado);
  cambiaPestana(kCifrado);
}

ORVCSSubst::~ORVCSSubst() {
  // A search under way is left to its worker: nothing of it reaches the
  // window any more.
  delete calculo_;
  calculo_ = nullptr;
}

QTabBar* ORVCSSubst::tsCripto() const {
  return paginas_->tabBar();
}

void ORVCSSubst::construye() {
  const QFont fuente = courier();

  // The key, always visible above the pages.
  frame1_ = new QFrame(this);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  frame1_->setFrameShape(QFrame::StyledPanel);
  frame1_->setFrameShadow(QFrame::Sunken);
  flexClaves_ = lab::rejilla(frame1_, QStringLiteral("FlexClaves"), 2, kSimbolos, 1, 0);
  ponFuente(flexClaves_, fuente);
  QFont negrita = fuente;
  negrita.setBold(true);
  for (int32_t i = 0; i < kSimbolos; ++i) {
    flexClaves_->setTexto(0, i, simbolo(tarnel::Alfabeto[static_cast<size_t>(i)]));
    flexClaves_->setTexto(1, i, kNoKey);
    // Bold or not, a header symbol keeps the grid's family.
    flexClaves_->tabla()->horizontalHeaderItem(i)->setFont(fuente);
  }
  flexClaves_->setColorFondo(static_cast<uint32_t>(ORVW().COLFIX()));
  flexClaves_->setColorFondoFijo(0x80000005);
  flexClaves_->setEditable(true);
  flexClaves_->setBarrasDesplazamiento(Rejilla::BarraHorizontal);
  flexClaves_->tabla()->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  flexClaves_->setTextoAyuda(
      QStringLiteral("Clave: debajo de cada símbolo, el que lo sustituye («_» si aún no tiene). "
                     "Botón derecho: borrar la clave o elegir una clave aleatoria."));
  flexClaves_->tabla()->horizontalHeader()->setToolTip(flexClaves_->TextoAyuda());
  {
    const QFontMetrics m(negrita);
    int ancho = 0;
    for (const char32_t c : tarnel::Alfabeto)
      ancho = std::max(ancho, m.horizontalAdvance(simbolo(c)));
    anchoMinimoClave_ = ancho + 8;
  }
  auto* filaClave = new lab::FilasRotuladas(frame1_);
  filaClave->setContentsMargins(6, 6, 6, 6);
  filaClave->fila(QStringLiteral("Clave"), flexClaves_);

  // The pages: enciphering, and the cryptanalysis, shown only while there is
  // a ciphertext.
  const lab::Paginas paginas = lab::paginas(this, QStringLiteral("tsCripto"),
                                            {{"Cifrado", "cifracion"}, {"Criptoanálisis"}});
  paginas_ = paginas.pestanas;
  panel_[0] = paginas.panel(0);
  panel_[1] = paginas.panel(1);

  const lab::PaginaCifrado cifrado = lab::paginaCifrado(panel_[0], kestrin::CSKSust);
  txtTO_ = cifrado.TxtTO;
  txtTC_ = cifrado.txtTC;
  panelCifrar_ = cifrado.panelCifrar;
  // Affine and substitution texts can be broken here; others are refused.
  txtTC_->setKeysAccepted(kestrin::CSKAfin | kestrin::CSKSust);
  cmdCifra()->setToolTip(
      QStringLiteral("Cifra con la clave cuando cada símbolo tiene uno distinto que lo sustituye"));

  // Built with one pair (the columns' alignment needs a row), emptied below.
  flexTexto_ = lab::rejilla(panel_[1], QStringLiteral("FlexTexto"), 2, kColumnasTexto, 0, 0);
  flexTexto_->setFilas(0);
  ponFuente(flexTexto_, fuente);
  flexTexto_->setBarrasDesplazamiento(Rejilla::BarraVertical, true);
  flexTexto_->tabla()->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  flexTexto_->setProperty("Tag", QStringLiteral("0"));
  flexTexto_->setTextoAyuda(
      QStringLiteral("Escriba bajo un símbolo cifrado el símbolo en claro que supone; "
                     "«_» retira la suposición."));
  // Breaking the text automatically, above the hand work.
  cmdResolver_ = estilo::boton(QStringLiteral("CmdResolver"), QStringLiteral("Resolver"), panel_[1]);
  cmdResolver_->setMinimumWidth(estilo::anchoCaracteres(cmdResolver_, 12));
  cmdResolver_->setToolTip(
      QStringLiteral("Busca la clave con las estadísticas del castellano y la pone en la rejilla "
                     "«Clave», donde puede seguir corrigiéndola"));
  textResolver_ = new QLabel(
      QStringLiteral("«Resolver» busca la clave con las estadísticas del castellano; después "
                     "puede corregirla a mano."),
      panel_[1]);
  textResolver_->setObjectName(QStringLiteral("TextResolver"));
  textResolver_->setWordWrap(true);
  calculo_ = new CalculoEnFondo(this);
  franja_ = new FranjaTrabajo(calculo_, panel_[1]);
  auto* filaResolver = new QHBoxLayout;
  filaResolver->setSpacing(8);
  filaResolver->addWidget(textResolver_, 1);
  filaResolver->addWidget(cmdResolver_);
  auto* filasTexto = new lab::FilasRotuladas(panel_[1]);
  filasTexto->fila(filaResolver);
  filasTexto->fila(QStringLiteral("Texto"), flexTexto_, 1);
  filasTexto->fila(franja_);
  paginas_->removeTab(kCriptoanalisis);

  // The key grid's pop-up menu, hidden from any menu bar.
  menuClave_ = new QMenu(QStringLiteral("Clave"), this);
  menuClave_->setObjectName(QStringLiteral("MenuClave"));
  menuBorrarClave_ = menuClave_->addAction(QStringLiteral("Borrar clave"));
  menuBorrarClave_->setObjectName(QStringLiteral("MenuBorrarClave"));
  menuClaveAleatoria_ = menuClave_->addAction(QStringLiteral("Clave aleatoria"));
  menuClaveAleatoria_->setObjectName(QStringLiteral("MenuClaveAleatoria"));

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->setSpacing(8);
  todo->addWidget(frame1_);
  todo->addWidget(paginas_, 1);
  resize(sizeHint());
}

void ORVCSSubst::conecta() {
  connect(paginas_, &QTabWidget::currentChanged, this, &ORVCSSubst::cambiaPestana);
  enlazaTextos(conexiones, cs_, txtTO_, txtTC_);
  conexiones.conecta(txtTC_->eventos.Change, [this] { cambiaCifrado(); });
  connect(cmdCifra(), &plankett::FlatButton::Click, this,
          [this] { protege(kTitulo, [this] { cs_->Cifra(); }); });
  connect(cmdDescifra(), &plankett::FlatButton::Click, this,
          [this] { protege(kTitulo, [this] { cs_->Descifra(); }); });
  connect(menuBorrarClave_, &QAction::triggered, this, [this] { BorrarClave(); });
  connect(menuClaveAleatoria_, &QAction::triggered, this, [this] { ClaveAleatoria(); });
  connect(cmdResolver_, &plankett::FlatButton::Click, this, &ORVCSSubst::Resuelve);

  conexiones.conecta(flexClaves_->eventos.ValidaEdicion,
                     [this](int32_t f, int32_t c, QString& texto, bool& cancela) {
                       validaClave(f, c, texto, cancela);
                     });
  conexiones.conecta(flexClaves_->eventos.DespuesDeEditar,
                     [this](int32_t f, int32_t c) { ActualizaClave(f, c); });
  conexiones.conecta(flexTexto_->eventos.CeldaCambiada, [this] { celdaTextoCambiada(); });
  conexiones.conecta(flexTexto_->eventos.KeyPress, [this](int16_t& tecla) {
    // A key typed where no guess can go is dropped, rather than sending the
    // grid off to the next cell that starts with it.
    if (tecla < 32) return;
    bool cancela = false;
    antesDeEditarTexto(flexTexto_->Fila(), flexTexto_->Columna(), cancela);
    if (cancela) tecla = 0;
  });
  conexiones.conecta(
      flexTexto_->eventos.AntesDeEditar,
      [this](int32_t f, int32_t c, bool& cancela) { antesDeEditarTexto(f, c, cancela); });
  conexiones.conecta(flexTexto_->eventos.ValidaEdicion,
                     [this](int32_t f, int32_t c, QString& texto, bool& cancela) {
                       validaTexto(f, c, texto, cancela);
                     });
  conexiones.conecta(flexTexto_->eventos.DespuesDeEditar,
                     [this](int32_t f, int32_t c) { despuesDeEditarTexto(f, c); });

  // A right click anywhere on the key grid, its symbols' row included.
  for (QObject* o : {static_cast<QObject*>(flexClaves_->tabla()->viewport()),
                     static_cast<QObject*>(flexClaves_->tabla()->horizontalHeader()->viewport())}) {
    o->installEventFilter(this);
  }
  flexTexto_->tabla()->viewport()->installEventFilter(this);
}

QSize ORVCSSubst::sizeHint() const {
  // The whole key without scrolling, and room for several rows of text.
  const int clave = kSimbolos * anchoMinimoClave_ + 2 * flexClaves_->tabla()->frameWidth();
  return QSize(clave + 60, 600).expandedTo(minimumSizeHint());
}

bool ORVCSSubst::eventFilter(QObject* objeto, QEvent* evento) {
  const bool clave = objeto == flexClaves_->tabla()->viewport() ||
                     objeto == flexClaves_->tabla()->horizontalHeader()->viewport();
  switch (evento->type()) {
    case QEvent::Resize:
      anchoColumnas();
      break;
    case QEvent::MouseButtonRelease:
      if (clave && static_cast<QMouseEvent*>(evento)->button() == Qt::RightButton) {
        abreMenuClave(static_cast<QMouseEvent*>(evento)->globalPosition().toPoint());
        return true;
      }
      break;
    case QEvent::ContextMenu:
      if (clave) {
        // The mouse opens the menu on its release; the keyboard's menu key here.
        auto* menu = static_cast<QContextMenuEvent*>(evento);
        if (menu->reason() != QContextMenuEvent::Mouse) abreMenuClave(menu->globalPos());
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(objeto, evento);
}

void ORVCSSubst::abreMenuClave(const QPoint& global) {
  menuClave_->popup(global);
}

void ORVCSSubst::anchoColumnas() {
  // Text grid: its inner width shared by the 27 columns. Whole pixels are
  // dealt out so the columns still fill that width together.
  const int32_t ancho = (flexTexto_->AnchoInterior() - 100) / kColumnasTexto;
  if (ancho > 0) {
    QTableWidget* t = flexTexto_->tabla();
    const int total = ancho * kColumnasTexto / qtcomun::kTwipsPorPixel;
    const int base = total / kColumnasTexto;
    for (int c = 0; c < kColumnasTexto; ++c) {
      // (Straight to the table: the grid sets widths only while it has a row.)
      const int px = base + (c < total % kColumnasTexto ? 1 : 0);
      if (t->columnWidth(c) != px) t->setColumnWidth(c, px);
    }
  }

  // Key grid: each column at least as wide as a bold symbol, wider to fill
  // the frame; narrower frames scroll, with room kept for the scroll bar.
  QTableWidget* t = flexClaves_->tabla();
  const int disponible = t->viewport()->width();
  const int base = std::max(anchoMinimoClave_, disponible / kSimbolos);
  const int sobra = base * kSimbolos < disponible ? disponible - base * kSimbolos : 0;
  for (int32_t i = 0; i < kSimbolos; ++i) {
    const int px = base + (i < sobra ? 1 : 0);
    if (t->columnWidth(i) != px) flexClaves_->setAnchoColumna(i, px * qtcomun::kTwipsPorPixel);
  }
  const bool desplaza = anchoMinimoClave_ * kSimbolos > disponible;
  const int alto = 2 * t->frameWidth() + t->horizontalHeader()->sizeHint().height() +
                   t->verticalHeader()->defaultSectionSize() +
                   (desplaza ? t->horizontalScrollBar()->sizeHint().height() : 0);
  if (flexClaves_->height() != alto) flexClaves_->setFixedHeight(alto);
}

// ---------------------------------------------------------------------------
// Pages and texts.

void ORVCSSubst::cambiaPestana(int i) {
  if (i != kCriptoanalisis) return;
  protege(kTitulo, [this] {
    cs_->Descifra();
    LlenaTexto();
  });
}

void ORVCSSubst::cambiaCifrado() {
  // The cryptanalysis page comes and goes with the ciphertext.
  const bool hayTexto = !txtTC_->CSTexto()->Texto().empty();
  if (hayTexto && paginas_->count() == 1) {
    paginas_->insertTab(kCriptoanalisis, panel_[1], QStringLiteral("Criptoanálisis"));
  } else if (!hayTexto && paginas_->count() > 1) {
    paginas_->removeTab(kCriptoanalisis);
  }
}

// ---------------------------------------------------------------------------
// The key.

void ORVCSSubst::validaClave(int32_t fila, int32_t columna, QString& texto, bool& cancela) {
  if (fila != 1 || texto == kNoKey) return;
  protege(kTitulo, [&] {
    // An emptied cell takes the symbol back, as "_" does.
    if (texto.isEmpty()) {
      texto = kNoKey;
      return;
    }
    car_->setTexto(texto.left(1).toStdU32String());
    if (!car_->Valido()) {
      cancela = true;
      return;
    }
    texto = QString::fromStdU32String(car_->Texto());
    // One cipher symbol for one plain symbol only.
    for (int32_t i = 0; i < kSimbolos; ++i) {
      if (i != columna && flexClaves_->Texto(1, i) == texto) flexClaves_->setTexto(1, i, kNoKey);
    }
  });
}

void ORVCSSubst::ActualizaClave(int32_t fila, int32_t columna) {
  protege(kTitulo, [&] {
    if (fila >= 0 && fila < flexClaves_->Filas() && columna >= 0 && columna < kSimbolos) {
      const QString t = flexClaves_->Texto(fila, columna);
      if (t.size() > 1) flexClaves_->setTexto(fila, columna, t.left(1));
    }
    QString usados;
    for (int32_t i = 0; i < kSimbolos; ++i) {
      const QString t = flexClaves_->Texto(1, i);
      if (t != kNoKey && !usados.contains(t, Qt::CaseInsensitive)) usados += t;
    }
    bool completa = true;
    for (int32_t i = 0; i < kSimbolos; ++i) {
      const bool libre = !usados.contains(flexClaves_->Texto(0, i), Qt::CaseInsensitive);
      if (flexClaves_->NegritaCelda(0, i) != libre) flexClaves_->setNegritaCelda(0, i, libre);
      if (libre) completa = false;
    }
    cmdCifra()->setEnabled(completa);
    cmdDescifra()->setEnabled(true);
    for (int32_t i = 0; i < kSimbolos; ++i) {
      cs_->setClave(kestrin::Variante(i), flexClaves_->Texto(1, i).toStdU32String());
    }
    if (paginas_->count() > 1 && paginas_->currentIndex() == kCriptoanalisis) {
      cs_->Descifra();
      LlenaTexto();
    }
  });
}

void ORVCSSubst::BorrarClave() {
  for (int32_t i = 0; i < kSimbolos; ++i) flexClaves_->setTexto(1, i, kNoKey);
  ActualizaClave(1, 0);
}

void ORVCSSubst::ClaveAleatoria() {
  protege(kTitulo, [this] {
    const kestrin::Cadena perm = tarnel::ClaveSustAleatoria();
    for (int32_t i = 0; i < kSimbolos; ++i) {
      flexClaves_->setTexto(1, i, simbolo(perm.at(static_cast<size_t>(i))));
    }
  });
  ActualizaClave(1, 0);
}

// ---------------------------------------------------------------------------
// The text grid.

void ORVCSSubst::LlenaTexto() {
  Rejilla* g = flexTexto_;
  g->setRedibujo(false);
  const int32_t superior = g->FilaSuperior();
  const int32_t fila = g->Fila();
  const int32_t columna = g->Columna();

  const kestrin::Cadena& cifrado = txtTC_->CSTexto()->Texto();
  const kestrin::Cadena& claro = txtTO_->CSTexto()->Texto();
  const auto n = static_cast<int32_t>(std::min<size_t>(cifrado.size(), INT32_MAX / 4));
  const int32_t filas = 2 * ((n + kColumnasTexto - 1) / kColumnasTexto);
  // The rows are set at once, not one pair at a time; cells already there
  // are written over, and a cell written with what it holds costs nothing.
  if (g->Columnas() != kColumnasTexto) g->setColumnas(kColumnasTexto);
  if (g->Filas() != filas) g->setFilas(filas);

  const uint32_t fondo = g->ColorFondo();
  const auto fijo = static_cast<uint32_t>(ORVW().COLFIX());
  size_t k = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t r = 2 * (i / kColumnasTexto) + 1;
    const int32_t c = i % kColumnasTexto;
    const char32_t x = cifrado[static_cast<size_t>(i)];
    // The decipherment has one symbol for each cipher symbol and nothing
    // for other characters: the plain cell above one of those stays empty.
    QString plano;
    if (tarnel::alfabeto::valor(x) >= 0 && k < claro.size()) plano = simbolo(claro[k++]);
    g->setTexto(r, c, celdaCifrada(x));
    g->setTexto(r - 1, c, plano);
    g->setColorFondoCelda(r, c, fijo);
    g->setColorFondoCelda(r - 1, c, fondo);
  }
  const int32_t tag = n % kColumnasTexto;
  g->setProperty("Tag", QString::number(tag));
  if (tag >= 1) {
    const uint32_t menu = kColorMenu;
    for (int32_t c = tag; c < kColumnasTexto; ++c) {
      for (int32_t r = filas - 2; r < filas; ++r) {
        g->setTexto(r, c, QString());
        g->setColorFondoCelda(r, c, menu);
      }
    }
  }

  if (filas > 0) {
    g->setFilaSuperior(std::clamp(superior, 0, filas - 1));
    if (fila >= 0 && fila < filas && columna >= 0 && columna < kColumnasTexto) {
      if (g->Fila() != fila) g->setFila(fila);
      if (g->Columna() != columna) g->setColumna(columna);
    }
  }
  celdaTextoCambiada();
  g->setRedibujo(true);
}

int32_t ORVCSSubst::usadasUltimoPar() const {
  // A full last pair is used whole, so its plain row can be edited.
  const int32_t tag = flexTexto_->property("Tag").toString().toInt();
  return tag > 0 ? tag : kColumnasTexto;
}

bool ORVCSSubst::fueraDeUso(int32_t fila, int32_t columna) const {
  const int32_t filas = flexTexto_->Filas();
  if (fila < 0 || fila >= filas || columna < 0 || columna >= kColumnasTexto) return true;
  return fila >= filas - 2 && columna >= usadasUltimoPar();
}

void ORVCSSubst::celdaTextoCambiada() {
  flexTexto_->setEditable(!fueraDeUso(flexTexto_->Fila(), flexTexto_->Columna()));
}

void ORVCSSubst::antesDeEditarTexto(int32_t fila, int32_t columna, bool& cancela) {
  // Only plain cells over a cipher symbol take a guess.
  if (fila % 2 != 0 || fueraDeUso(fila, columna) || fila + 1 >= flexTexto_->Filas()) {
    cancela = true;
    return;
  }
  const QString x = flexTexto_->Texto(fila + 1, columna);
  if (x.isEmpty() || tarnel::alfabeto::valor(x.at(0).unicode()) < 0) cancela = true;
}

void ORVCSSubst::validaTexto(int32_t, int32_t, QString& texto, bool& cancela) {
  // A character outside the alphabet is no guess: the cell keeps its symbol.
  if (texto.isEmpty() || texto.startsWith(kNoKey)) return;
  car_->setTexto(texto.left(1).toStdU32String());
  if (!car_->Valido()) cancela = true;
}

void ORVCSSubst::despuesDeEditarTexto(int32_t fila, int32_t columna) {
  if (fila % 2 != 0 || fila + 1 >= flexTexto_->Filas()) return;
  protege(kTitulo, [&] {
    Rejilla* g = flexTexto_;
    if (g->Texto(fila + 1, columna).isEmpty()) g->setTexto(fila + 1, columna, QStringLiteral(" "));
    if (g->Texto(fila, columna).isEmpty()) g->setTexto(fila, columna, QStringLiteral(" "));
    car_->setTexto(g->Texto(fila + 1, columna).left(1).toStdU32String());
    if (!car_->Valido()) return;
    const QString x = QString::fromStdU32String(car_->Texto());
    const QString editado = g->Texto(fila, columna);

    if (editado.startsWith(kNoKey)) {
      // The guess for this cipher symbol is withdrawn.
      for (int32_t i = 0; i < kSimbolos; ++i) {
        if (flexClaves_->Texto(1, i) == x) {
          flexClaves_->setTexto(1, i, kNoKey);
          ActualizaClave(1, i);
          return;
        }
      }
      LlenaTexto();
      return;
    }
    car_->setTexto(editado.left(1).toStdU32String());
    if (!car_->Valido()) return;
    const auto y = static_cast<int32_t>(car_->Valor().aLong());
    // The guess replaces any other plain symbol given the same cipher symbol,
    // as the key grid does; otherwise the older guess could still win the
    // decipherment and the edit would seem lost.
    for (int32_t i = 0; i < kSimbolos; ++i) {
      if (i != y && flexClaves_->Texto(1, i) == x) flexClaves_->setTexto(1, i, kNoKey);
    }
    flexClaves_->setTexto(1, y, x);
    ActualizaClave(1, y);
  });
}

}  // namespace orv

// ---------------------------------------------------------------------------
// Breaking the text automatically.

namespace orv {

void ORVCSSubst::esperaResolver(bool espera) {
  for (QWidget* w : {static_cast<QWidget*>(cmdResolver_), static_cast<QWidget*>(flexClaves_),
                     static_cast<QWidget*>(flexTexto_),
                     static_cast<QWidget*>(paginas_->tabBar())}) {
    w->setEnabled(!espera);
  }
  menuBorrarClave_->setEnabled(!espera);
  menuClaveAleatoria_->setEnabled(!espera);
}

void ORVCSSubst::Resuelve() {
  if (calculo_->ocupado()) return;
  protege(kTitulo, [this] {
    const auto cifrado = txtTC_->CSTexto();
    // The worker gets a cryptosystem and a text of its own: the boxes and
    // the window's component may change or go while it works.
    auto texto = std::make_shared<kestrin::ORVTexto>();
    texto->asigna(cifrado->Texto(), cifrado->Key());
    auto trabajador = creaComponente<tarnel::ORVCriptoSust>("Tarnel.ORVCriptoSust");
    trabajador->setTextoCifrado(texto);
    const int32_t semilla = semilla_++;
    esperaResolver(true);
    textResolver_->setText(QStringLiteral("Buscando la clave…"));
    const bool iniciado = calculo_->inicia(
        QStringLiteral("Buscando la clave"), [trabajador, semilla] { trabajador->Resuelve(semilla); },
        [this, trabajador](const CalculoEnFondo::Desenlace& desenlace) {
          esperaResolver(false);
          if (desenlace.error) {
            textResolver_->setText(QStringLiteral("No se encontró ninguna clave."));
            try {
              std::rethrow_exception(desenlace.error);
            } catch (const std::exception& e) {
              avisa(kTitulo, textoError(e));
            }
            return;
          }
          if (desenlace.cancelado) {
            textResolver_->setText(
                QStringLiteral("Búsqueda cancelada: la clave sigue como estaba."));
            return;
          }
          int32_t halladas = 0;
          for (int32_t i = 0; i < kSimbolos; ++i) {
            QString c = QString::fromStdU32String(trabajador->Clave(kestrin::Variante(i)));
            if (c.isEmpty()) c = kNoKey;
            if (c != kNoKey) ++halladas;
            flexClaves_->setTexto(1, i, c.left(1));
          }
          ActualizaClave(1, 0);
          textResolver_->setText(
              QStringLiteral("Clave encontrada para los %1 símbolos que aparecen en el texto "
                             "(puntuación %2). Corrija a mano lo que no encaje.")
                  .arg(halladas)
                  .arg(numeroMostrado(trabajador->PuntuacionResuelta(), 3)));
        });
    if (!iniciado) esperaResolver(false);
  });
}

}  // namespace orv
