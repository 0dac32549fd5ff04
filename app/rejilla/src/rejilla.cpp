// The grid over Qt's table widget.
#include "rejilla/rejilla.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "kestrin/errores.h"
#include "kestrin/orvw.h"
#include "qtcomun/medidas.h"
#include "qtcomun/traducciones.h"

namespace orv {

namespace {

constexpr int kRolNodo = Qt::UserRole + 1;
constexpr int kRolNivel = Qt::UserRole + 2;
constexpr int kRolEditable = Qt::UserRole + 3;
constexpr int kRolDato = Qt::UserRole + 4;

using qtcomun::color;
using qtcomun::kTwipsPorPixel;

uint32_t valor(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
         (static_cast<uint32_t>(c.blue()) << 16);
}

// A number written with a point or a comma as decimal separator.
std::optional<double> numero(const QString& texto) {
  QString t = texto.trimmed();
  if (t.isEmpty()) return std::nullopt;
  t.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

// "0", "0.000", "0,00": as many decimals as zeros after the separator.
QString formatea(const QString& texto, const QString& formato) {
  if (formato.isEmpty()) return texto;
  const auto v = numero(texto);
  if (!v) return texto;
  const qsizetype punto = std::max(formato.indexOf(QLatin1Char('.')), formato.indexOf(QLatin1Char(',')));
  const int decimales = punto < 0 ? 0 : static_cast<int>(formato.size() - punto - 1);
  QString s = QString::number(*v, 'f', decimales);
  static const char32_t separador = kestrin::FormatoNumerico::delUsuario().decimal;
  if (separador != U'.') s.replace(QLatin1Char('.'), QString::fromUcs4(&separador, 1));
  return s;
}

Qt::Alignment alineacionQt(Alineacion a, const QString& texto) {
  switch (a) {
    case IzquierdaArriba: return Qt::AlignLeft | Qt::AlignTop;
    case IzquierdaCentro: return Qt::AlignLeft | Qt::AlignVCenter;
    case IzquierdaAbajo: return Qt::AlignLeft | Qt::AlignBottom;
    case CentroArriba: return Qt::AlignHCenter | Qt::AlignTop;
    case CentroCentro: return Qt::AlignCenter;
    case CentroAbajo: return Qt::AlignHCenter | Qt::AlignBottom;
    case DerechaArriba: return Qt::AlignRight | Qt::AlignTop;
    case DerechaCentro: return Qt::AlignRight | Qt::AlignVCenter;
    case DerechaAbajo: return Qt::AlignRight | Qt::AlignBottom;
    case General:
    default: return (numero(texto) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
  }
}

}  // namespace

// The fixed cell where the header row and column meet.
class Esquina : public QWidget {
 public:
  explicit Esquina(QWidget* parent) : QWidget(parent) {}
  QString texto;
  bool negrita = false;
  QColor fondo;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QStyleOptionHeader opt;
    opt.initFrom(this);
    opt.rect = rect();
    opt.text = texto;
    opt.textAlignment = Qt::AlignCenter;
    opt.position = QStyleOptionHeader::OnlyOneSection;
    if (fondo.isValid()) {
      opt.palette.setColor(QPalette::Button, fondo);
      opt.palette.setColor(QPalette::Window, fondo);
    }
    QFont f = font();
    f.setBold(negrita);
    p.setFont(f);
    style()->drawControl(QStyle::CE_Header, &opt, &p, this);
  }
};

// Shows numbers in the column's format, indents outline rows, and asks the
// grid before an edit is committed.
class Delegado : public QStyledItemDelegate {
 public:
  explicit Delegado(Rejilla* rejilla) : QStyledItemDelegate(rejilla), rejilla_(rejilla) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
    QWidget* e = QStyledItemDelegate::createEditor(parent, o, i);
    editor_ = qobject_cast<QLineEdit*>(e);
    return e;
  }
  void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& i) const override {
    auto* linea = qobject_cast<QLineEdit*>(editor);
    if (!linea) return;
    const int32_t f = i.row() + (rejilla_->esCabeceraFila() ? 1 : 0);
    const int32_t c = i.column() + (rejilla_->esCabeceraColumna() ? 1 : 0);
    QString texto = linea->text();
    bool cancela = false;
    rejilla_->eventos.ValidaEdicion.lanza(f, c, texto, cancela);
    if (cancela) return;
    modelo->setData(i, texto, Qt::EditRole);
    rejilla_->eventos.DespuesDeEditar.lanza(f, c);
  }
  QString displayText(const QVariant& v, const QLocale&) const override { return v.toString(); }
  void initStyleOption(QStyleOptionViewItem* o, const QModelIndex& i) const override {
    QStyledItemDelegate::initStyleOption(o, i);
    const int32_t c = i.column() + (rejilla_->esCabeceraColumna() ? 1 : 0);
    const QString crudo = i.data(Qt::DisplayRole).toString();
    o->text = formatea(crudo, rejilla_->FormatoColumna(c));
    o->displayAlignment = alineacionQt(rejilla_->AlineacionColumna(c), crudo);
    if (i.data(kRolNodo).toBool()) o->font.setBold(true);
    const int nivel = i.data(kRolNivel).toInt();
    if (nivel > 0 && i.column() == 0) o->rect.adjust(12 * nivel, 0, 0, 0);
  }
  QLineEdit* editor() const { return editor_; }

 private:
  Rejilla* rejilla_;
  mutable QPointer<QLineEdit> editor_;
};

class TablaInterna : public QTableWidget {
 public:
  explicit TablaInterna(Rejilla* r) : QTableWidget(r), rejilla_(r) {
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
  }
  Delegado* delegado = nullptr;
  bool editando() const { return state() == EditingState; }
  // Opens the editor on a cell as a programmatic request (no warning when refused).
  void abreEdicion(const QModelIndex& i) { edit(i, AllEditTriggers, nullptr); }

 protected:
  bool edit(const QModelIndex& i, EditTrigger trigger, QEvent* evento) override {
    const bool abriria = trigger == AllEditTriggers || (editTriggers() & trigger);
    if (!i.isValid() || state() == EditingState || !abriria) return QTableWidget::edit(i, trigger, evento);
    const int32_t f = i.row() + (rejilla_->esCabeceraFila() ? 1 : 0);
    const int32_t c = i.column() + (rejilla_->esCabeceraColumna() ? 1 : 0);
    if (!rejilla_->editable_ || rejilla_->esFija(f, c) || !rejilla_->CeldaEditable(f, c)) return false;
    bool cancela = false;
    rejilla_->eventos.AntesDeEditar.lanza(f, c, cancela);
    if (cancela) return false;
    return QTableWidget::edit(i, trigger, evento);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    const QPoint p = e->position().toPoint();
    const int fila = rowAt(p.y());
    const int columna = columnAt(p.x());
    rejilla_->filaRaton_ = fila < 0 ? -1 : fila + (rejilla_->esCabeceraFila() ? 1 : 0);
    rejilla_->columnaRaton_ = columna < 0 ? -1 : columna + (rejilla_->esCabeceraColumna() ? 1 : 0);
    int16_t b = static_cast<int16_t>(((e->buttons() & Qt::LeftButton) ? 1 : 0) |
                                     ((e->buttons() & Qt::RightButton) ? 2 : 0));
    int16_t s = static_cast<int16_t>(((e->modifiers() & Qt::ShiftModifier) ? 1 : 0) |
                                     ((e->modifiers() & Qt::ControlModifier) ? 2 : 0));
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    rejilla_->eventos.MouseMove.lanza(b, s, x, y);
    QTableWidget::mouseMoveEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QTableWidget::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) rejilla_->eventos.Click.lanza();
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    rejilla_->eventos.DblClick.lanza();
    QTableWidget::mouseDoubleClickEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (e->text().size() == 1 && state() != EditingState) {
      int16_t ascii = static_cast<int16_t>(e->text().at(0).unicode());
      rejilla_->eventos.KeyPress.lanza(ascii);
      if (ascii == 0) return;
    }
    QTableWidget::keyPressEvent(e);
  }
  void focusOutEvent(QFocusEvent* e) override {
    QTableWidget::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason && state() != EditingState) rejilla_->eventos.SalidaFoco.lanza();
  }

 private:
  Rejilla* rejilla_;
};

Rejilla::Rejilla(QWidget* parent) : QWidget(parent), tabla_(new TablaInterna(this)), esquina_(nullptr) {
  tabla_->delegado = new Delegado(this);
  tabla_->setItemDelegate(tabla_->delegado);
  tabla_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  tabla_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  tabla_->setCornerButtonEnabled(false);
  tabla_->horizontalHeader()->setSectionsClickable(false);
  tabla_->verticalHeader()->setSectionsClickable(false);
  tabla_->horizontalHeader()->setHighlightSections(false);
  tabla_->verticalHeader()->setHighlightSections(false);
  tabla_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tabla_->verticalHeader()->setDefaultSectionSize(tabla_->fontMetrics().height() + 6);
  tabla_->horizontalHeader()->setMinimumSectionSize(0);
  tabla_->verticalHeader()->setMinimumSectionSize(0);
  tabla_->setWordWrap(false);
  esquina_ = new Esquina(tabla_);
  connect(tabla_->horizontalHeader(), &QHeaderView::geometriesChanged, this, &Rejilla::colocaEsquina);
  connect(tabla_->verticalHeader(), &QHeaderView::geometriesChanged, this, &Rejilla::colocaEsquina);
  connect(tabla_, &QTableWidget::currentCellChanged, this, [this](int f, int c, int fa, int ca) {
    if (f != fa || c != ca) eventos.CeldaCambiada.lanza();
  });
  setColumnas(2);
  setFilas(2);
  aplicaPaleta();
}

Rejilla::~Rejilla() = default;

QTableWidget* Rejilla::tabla() const { return tabla_; }

void Rejilla::colocaEsquina() {
  const bool visible = esCabeceraFila() && esCabeceraColumna();
  const QHeaderView* h = tabla_->horizontalHeader();
  const QHeaderView* v = tabla_->verticalHeader();
  esquina_->setVisible(visible);
  if (visible) {
    const int marco = tabla_->frameWidth();
    esquina_->setGeometry(marco, marco, v->width(), h->height());
    esquina_->raise();
    esquina_->update();
  }
}

void Rejilla::resizeEvent(QResizeEvent*) {
  tabla_->setGeometry(rect());
  colocaEsquina();
}

int32_t Rejilla::Filas() const { return tabla_->rowCount() + (esCabeceraFila() ? 1 : 0); }
void Rejilla::setFilas(int32_t n) {
  tabla_->setRowCount(std::max(0, n - (esCabeceraFila() ? 1 : 0)));
  pintaFijas();
}
int32_t Rejilla::Columnas() const { return tabla_->columnCount() + (esCabeceraColumna() ? 1 : 0); }
void Rejilla::setColumnas(int32_t n) {
  n = std::max(0, n);
  tabla_->setColumnCount(std::max(0, n - (esCabeceraColumna() ? 1 : 0)));
  formatos_.resize(static_cast<size_t>(n));
  alineaciones_.resize(static_cast<size_t>(n), General);
  alineacionesFijas_.resize(static_cast<size_t>(n), CentroCentro);
  datosColumna_.resize(static_cast<size_t>(n));
  pintaFijas();
}

void Rejilla::setFilasFijas(int32_t n) { cambiaFijas(std::max(0, n), columnasFijas_); }
void Rejilla::setColumnasFijas(int32_t n) { cambiaFijas(filasFijas_, std::max(0, n)); }

void Rejilla::cambiaFijas(int32_t filas, int32_t columnas) {
  // The first fixed row and column live in the headers: moving them in or out
  // keeps every text where its numbers say.
  const int32_t nf = Filas();
  const int32_t nc = Columnas();
  std::vector<QString> textos(static_cast<size_t>(nf) * nc);
  for (int32_t f = 0; f < nf; ++f)
    for (int32_t c = 0; c < nc; ++c) textos[static_cast<size_t>(f) * nc + c] = Texto(f, c);
  filasFijas_ = filas;
  columnasFijas_ = columnas;
  tabla_->clear();
  tabla_->setRowCount(0);
  tabla_->setColumnCount(0);
  esquina_->texto.clear();
  setColumnas(nc);
  setFilas(nf);
  tabla_->horizontalHeader()->setVisible(esCabeceraFila());
  tabla_->verticalHeader()->setVisible(esCabeceraColumna());
  for (int32_t f = 0; f < Filas() && f < nf; ++f)
    for (int32_t c = 0; c < Columnas() && c < nc; ++c) {
      const QString& t = textos[static_cast<size_t>(f) * nc + c];
      if (!t.isEmpty()) setTexto(f, c, t);
    }
  colocaEsquina();
}

void Rejilla::compruebaCelda(int32_t f, int32_t c) const {
  if (f < 0 || c < 0 || f >= Filas() || c >= Columnas()) throw kestrin::ErrorSubindice();
}

QTableWidgetItem* Rejilla::item(int32_t f, int32_t c) const {
  compruebaCelda(f, c);
  const bool cabF = esCabeceraFila() && f == 0;
  const bool cabC = esCabeceraColumna() && c == 0;
  if (cabF && cabC) return nullptr;
  if (cabF) return tabla_->horizontalHeaderItem(columnaTabla(c));
  if (cabC) return tabla_->verticalHeaderItem(filaTabla(f));
  return tabla_->item(filaTabla(f), columnaTabla(c));
}

QTableWidgetItem* Rejilla::itemCrea(int32_t f, int32_t c) {
  if (QTableWidgetItem* i = item(f, c)) return i;
  const bool cabF = esCabeceraFila() && f == 0;
  const bool cabC = esCabeceraColumna() && c == 0;
  if (cabF && cabC) return nullptr;
  auto* nuevo = new QTableWidgetItem();
  if (cabF) {
    tabla_->setHorizontalHeaderItem(columnaTabla(c), nuevo);
  } else if (cabC) {
    tabla_->setVerticalHeaderItem(filaTabla(f), nuevo);
  } else {
    if (esFija(f, c)) {
      nuevo->setFlags(Qt::ItemIsEnabled);
      nuevo->setBackground(color(colorFijo_));
    }
    tabla_->setItem(filaTabla(f), columnaTabla(c), nuevo);
  }
  return nuevo;
}

QString Rejilla::Texto(int32_t f, int32_t c) const {
  compruebaCelda(f, c);
  if (esCabeceraFila() && esCabeceraColumna() && f == 0 && c == 0) return esquina_->texto;
  const QTableWidgetItem* i = item(f, c);
  return i ? i->text() : QString();
}

void Rejilla::setTexto(int32_t f, int32_t c, const QString& texto) {
  compruebaCelda(f, c);
  if (esCabeceraFila() && esCabeceraColumna() && f == 0 && c == 0) {
    esquina_->texto = texto;
    esquina_->update();
    return;
  }
  QTableWidgetItem* i = itemCrea(f, c);
  // Header sections show the text as written; cells go through the delegate.
  i->setText(texto);
  if ((esCabeceraFila() && f == 0) || (esCabeceraColumna() && c == 0)) {
    i->setTextAlignment(alineacionQt(AlineacionFija(c), texto));
  }
}

QString Rejilla::TextoMostrado(int32_t f, int32_t c) const { return formatea(Texto(f, c), FormatoColumna(c)); }

uint32_t Rejilla::ColorFondoCelda(int32_t f, int32_t c) const {
  const QTableWidgetItem* i = item(f, c);
  if (i && i->background().style() != Qt::NoBrush) return valor(i->background().color());
  return esFija(f, c) ? colorFijo_ : colorFondo_;
}
void Rejilla::setColorFondoCelda(int32_t f, int32_t c, uint32_t v) {
  if (QTableWidgetItem* i = itemCrea(f, c)) i->setBackground(color(v));
  if (f == 0 && c == 0 && esCabeceraFila() && esCabeceraColumna()) esquina_->fondo = color(v);
}
uint32_t Rejilla::ColorTextoCelda(int32_t f, int32_t c) const {
  const QTableWidgetItem* i = item(f, c);
  if (i && i->foreground().style() != Qt::NoBrush) return valor(i->foreground().color());
  return colorTexto_;
}
void Rejilla::setColorTextoCelda(int32_t f, int32_t c, uint32_t v) {
  if (QTableWidgetItem* i = itemCrea(f, c)) i->setForeground(color(v));
}
bool Rejilla::NegritaCelda(int32_t f, int32_t c) const {
  if (f == 0 && c == 0 && esCabeceraFila() && esCabeceraColumna()) return esquina_->negrita;
  const QTableWidgetItem* i = item(f, c);
  return i && i->font().bold();
}
void Rejilla::setNegritaCelda(int32_t f, int32_t c, bool v) {
  if (QTableWidgetItem* i = itemCrea(f, c)) {
    QFont fuente = i->font();
    fuente.setBold(v);
    i->setFont(fuente);
  } else {
    esquina_->negrita = v;
    esquina_->update();
  }
}
QVariant Rejilla::DatoCelda(int32_t f, int32_t c) const {
  const QTableWidgetItem* i = item(f, c);
  return i ? i->data(kRolDato) : QVariant();
}
void Rejilla::setDatoCelda(int32_t f, int32_t c, const QVariant& dato) {
  if (QTableWidgetItem* i = itemCrea(f, c)) i->setData(kRolDato, dato);
}
void Rejilla::setColorFondoFijo(uint32_t v) {
  colorFijo_ = v;
  aplicaPaleta();
  pintaFijas();
}

void Rejilla::pintaFijas() {
  for (int32_t f = 0; f < Filas(); ++f)
    for (int32_t c = 0; c < Columnas(); ++c) {
      if (!esFija(f, c)) continue;
      if ((esCabeceraFila() && f == 0) || (esCabeceraColumna() && c == 0)) continue;
      itemCrea(f, c)->setBackground(color(colorFijo_));
    }
}

void Rejilla::aplicaPaleta() {
  QPalette p = tabla_->palette();
  p.setColor(QPalette::Base, color(colorFondo_));
  p.setColor(QPalette::Text, color(colorTexto_));
  p.setColor(QPalette::Highlight, color(colorFondoSel_));
  p.setColor(QPalette::HighlightedText, color(colorTextoSel_));
  tabla_->setPalette(p);
  for (QHeaderView* h : {tabla_->horizontalHeader(), tabla_->verticalHeader()}) {
    QPalette ph = h->palette();
    ph.setColor(QPalette::Button, color(colorFijo_));
    ph.setColor(QPalette::Window, color(colorFijo_));
    h->setPalette(ph);
  }
  esquina_->fondo = color(colorFijo_);
  esquina_->update();
}

void Rejilla::setColorFondo(uint32_t c) {
  colorFondo_ = c;
  aplicaPaleta();
}
void Rejilla::setColorTexto(uint32_t c) {
  colorTexto_ = c;
  aplicaPaleta();
}
void Rejilla::setColorFondoSeleccion(uint32_t c) {
  colorFondoSel_ = c;
  aplicaPaleta();
}
void Rejilla::setColorTextoSeleccion(uint32_t c) {
  colorTextoSel_ = c;
  aplicaPaleta();
}

int32_t Rejilla::AnchoColumna(int32_t c) const {
  compruebaCelda(0, c);
  const int px = esCabeceraColumna() && c == 0 ? tabla_->verticalHeader()->width()
                                               : tabla_->columnWidth(columnaTabla(c));
  return px * kTwipsPorPixel;
}
void Rejilla::setAnchoColumna(int32_t c, int32_t twips) {
  compruebaCelda(0, c);
  const int px = std::max(0, static_cast<int>(std::lround(twips / double(kTwipsPorPixel))));
  if (esCabeceraColumna() && c == 0) {
    tabla_->verticalHeader()->setFixedWidth(px);
  } else {
    tabla_->setColumnWidth(columnaTabla(c), px);
  }
}
Alineacion Rejilla::AlineacionColumna(int32_t c) const {
  return c >= 0 && static_cast<size_t>(c) < alineaciones_.size() ? alineaciones_[c] : General;
}
void Rejilla::setAlineacionColumna(int32_t c, Alineacion a) {
  compruebaCelda(0, c);
  alineaciones_[c] = a;
  tabla_->viewport()->update();
}
QString Rejilla::FormatoColumna(int32_t c) const {
  return c >= 0 && static_cast<size_t>(c) < formatos_.size() ? formatos_[c] : QString();
}
void Rejilla::setFormatoColumna(int32_t c, const QString& formato) {
  compruebaCelda(0, c);
  formatos_[c] = formato;
  tabla_->viewport()->update();
}
Alineacion Rejilla::AlineacionFija(int32_t c) const {
  return c >= 0 && static_cast<size_t>(c) < alineacionesFijas_.size() ? alineacionesFijas_[c] : CentroCentro;
}
void Rejilla::setAlineacionFija(int32_t c, Alineacion a) {
  compruebaCelda(0, c);
  alineacionesFijas_[c] = a;
  // The header cells of the column take it at once.
  if (esCabeceraFila() && !(esCabeceraColumna() && c == 0)) {
    if (QTableWidgetItem* i = tabla_->horizontalHeaderItem(columnaTabla(c)))
      i->setTextAlignment(alineacionQt(a, i->text()));
  }
  for (int32_t f = 0; f < Filas(); ++f) {
    if (!esFija(f, c) || (esCabeceraFila() && f == 0)) continue;
    if (QTableWidgetItem* i = item(f, c)) i->setTextAlignment(alineacionQt(a, i->text()));
  }
}
void Rejilla::setBarrasDesplazamiento(Barras b, bool siempreVertical) {
  barras_ = b;
  tabla_->setHorizontalScrollBarPolicy((b & BarraHorizontal) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  tabla_->setVerticalScrollBarPolicy(!(b & BarraVertical) ? Qt::ScrollBarAlwaysOff
                                     : siempreVertical  ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAsNeeded);
}
int Rejilla::anchoBarraVertical() const { return tabla_->verticalScrollBar()->sizeHint().width(); }
QVariant Rejilla::DatoColumna(int32_t c) const {
  compruebaCelda(0, c);
  return datosColumna_[c];
}
void Rejilla::setDatoColumna(int32_t c, const QVariant& dato) {
  compruebaCelda(0, c);
  datosColumna_[c] = dato;
}
int32_t Rejilla::AltoFila(int32_t f) const {
  compruebaCelda(f, 0);
  const int px = esCabeceraFila() && f == 0 ? tabla_->horizontalHeader()->height()
                                            : tabla_->rowHeight(filaTabla(f));
  return px * kTwipsPorPixel;
}
void Rejilla::setAltoFila(int32_t f, int32_t twips) {
  compruebaCelda(f, 0);
  const int px = std::max(0, static_cast<int>(std::lround(twips / double(kTwipsPorPixel))));
  if (esCabeceraFila() && f == 0) {
    tabla_->horizontalHeader()->setFixedHeight(px);
  } else {
    tabla_->setRowHeight(filaTabla(f), px);
  }
}
int32_t Rejilla::AnchoInterior() const {
  const int fija = esCabeceraColumna() ? tabla_->verticalHeader()->width() : 0;
  return (tabla_->viewport()->width() + fija) * kTwipsPorPixel;
}

void Rejilla::Selecciona(int32_t f1, int32_t c1, int32_t f2, int32_t c2) {
  compruebaCelda(f1, c1);
  compruebaCelda(f2, c2);
  const int32_t fa = std::max(std::min(f1, f2), esCabeceraFila() ? 1 : 0);
  const int32_t ca = std::max(std::min(c1, c2), esCabeceraColumna() ? 1 : 0);
  const int32_t fb = std::max(f1, f2);
  const int32_t cb = std::max(c1, c2);
  tabla_->clearSelection();
  if (fb < fa || cb < ca) return;
  tabla_->setRangeSelected(
      QTableWidgetSelectionRange(filaTabla(fa), columnaTabla(ca), filaTabla(fb), columnaTabla(cb)), true);
}

void Rejilla::Ordena(Orden orden) {
  const auto rangos = tabla_->selectedRanges();
  if (rangos.isEmpty()) return;
  const auto r = rangos.first();
  const int primera = r.topRow();
  const int ultima = r.bottomRow();
  if (ultima <= primera) return;
  const int cols = tabla_->columnCount();
  // Rows are taken out whole (items and header items) and put back in order.
  // Each key is read as a number once, not at every comparison.
  struct Clave {
    QString texto;
    std::optional<double> numero;
  };
  struct FilaGuardada {
    std::vector<QTableWidgetItem*> items;
    QTableWidgetItem* cabecera;
    std::vector<Clave> claves;
  };
  std::vector<FilaGuardada> filas;
  for (int f = primera; f <= ultima; ++f) {
    FilaGuardada g;
    for (int c = r.leftColumn(); c <= r.rightColumn(); ++c) {
      const QTableWidgetItem* i = tabla_->item(f, c);
      QString texto = i ? i->text() : QString();
      const auto valor = numero(texto);
      g.claves.push_back({std::move(texto), valor});
    }
    for (int c = 0; c < cols; ++c) g.items.push_back(tabla_->takeItem(f, c));
    g.cabecera = tabla_->takeVerticalHeaderItem(f);
    filas.push_back(std::move(g));
  }
  auto menor = [](const Clave& a, const Clave& b) {
    const auto& na = a.numero;
    const auto& nb = b.numero;
    if (na && nb) return *na < *nb;
    if (na.has_value() != nb.has_value()) return na.has_value();  // numbers before texts
    return QString::compare(a.texto, b.texto, Qt::CaseInsensitive) < 0;
  };
  const bool descendente = orden == GenericoDescendente;
  std::stable_sort(filas.begin(), filas.end(), [&](const FilaGuardada& a, const FilaGuardada& b) {
    for (size_t k = 0; k < a.claves.size(); ++k) {
      if (menor(a.claves[k], b.claves[k])) return !descendente;
      if (menor(b.claves[k], a.claves[k])) return descendente;
    }
    return false;
  });
  for (int f = primera; f <= ultima; ++f) {
    auto& g = filas[static_cast<size_t>(f - primera)];
    for (int c = 0; c < cols; ++c)
      if (g.items[c]) tabla_->setItem(f, c, g.items[c]);
    if (g.cabecera) tabla_->setVerticalHeaderItem(f, g.cabecera);
  }
}

int32_t Rejilla::Fila() const { return tabla_->currentRow() + (esCabeceraFila() ? 1 : 0); }
void Rejilla::setFila(int32_t f) {
  compruebaCelda(f, 0);
  const int c = std::max(0, tabla_->currentColumn());
  tabla_->setCurrentCell(filaTabla(f), c);
}
int32_t Rejilla::Columna() const { return tabla_->currentColumn() + (esCabeceraColumna() ? 1 : 0); }
void Rejilla::setColumna(int32_t c) {
  compruebaCelda(0, c);
  const int f = std::max(0, tabla_->currentRow());
  tabla_->setCurrentCell(f, columnaTabla(c));
}
int32_t Rejilla::FilaSuperior() const {
  const int f = tabla_->rowAt(0);
  return (f < 0 ? 0 : f) + (esCabeceraFila() ? 1 : 0);
}
void Rejilla::setFilaSuperior(int32_t f) {
  compruebaCelda(f, 0);
  const int t = filaTabla(f);
  if (t >= 0 && t < tabla_->rowCount()) tabla_->verticalScrollBar()->setValue(tabla_->rowViewportPosition(t) +
                                                                             tabla_->verticalScrollBar()->value());
}
QString Rejilla::TextoAyuda() const { return tabla_->viewport()->toolTip(); }
void Rejilla::setTextoAyuda(const QString& texto) { tabla_->viewport()->setToolTip(texto); }

bool Rejilla::CeldaEditable(int32_t f, int32_t c) const {
  const QTableWidgetItem* i = item(f, c);
  return !i || !i->data(kRolEditable).isValid() || i->data(kRolEditable).toBool();
}
void Rejilla::setCeldaEditable(int32_t f, int32_t c, bool v) {
  if (QTableWidgetItem* i = itemCrea(f, c)) i->setData(kRolEditable, v);
}
void Rejilla::Edita() {
  const QModelIndex i = tabla_->currentIndex();
  if (i.isValid()) tabla_->abreEdicion(i);
}
bool Rejilla::editando() const { return tabla_->editando(); }
QString Rejilla::TextoEdicion() const {
  if (editando() && tabla_->delegado->editor()) return tabla_->delegado->editor()->text();
  return Fila() >= 0 && Columna() >= 0 && Fila() < Filas() && Columna() < Columnas() ? Texto(Fila(), Columna())
                                                                                      : QString();
}
void Rejilla::setTextoEdicion(const QString& texto) {
  if (editando() && tabla_->delegado->editor()) tabla_->delegado->editor()->setText(texto);
}

bool Rejilla::EsNodo(int32_t f) const {
  const QTableWidgetItem* i = item(f, esCabeceraColumna() && Columnas() > 1 ? 1 : 0);
  return i && i->data(kRolNodo).toBool();
}
void Rejilla::setEsNodo(int32_t f, bool v) {
  compruebaCelda(f, 0);
  for (int32_t c = esCabeceraColumna() ? 1 : 0; c < Columnas(); ++c)
    if (QTableWidgetItem* i = itemCrea(f, c)) i->setData(kRolNodo, v);
}
int32_t Rejilla::NivelEsquema(int32_t f) const {
  const QTableWidgetItem* i = item(f, esCabeceraColumna() && Columnas() > 1 ? 1 : 0);
  return i ? i->data(kRolNivel).toInt() : 0;
}
void Rejilla::setNivelEsquema(int32_t f, int32_t nivel) {
  compruebaCelda(f, 0);
  for (int32_t c = esCabeceraColumna() ? 1 : 0; c < Columnas(); ++c)
    if (QTableWidgetItem* i = itemCrea(f, c)) i->setData(kRolNivel, std::max(0, nivel));
}

void Rejilla::setRedibujo(bool v) {
  tabla_->setUpdatesEnabled(v);
  if (v) tabla_->viewport()->update();
}
bool Rejilla::Redibujo() const { return tabla_->updatesEnabled(); }

}  // namespace orv
