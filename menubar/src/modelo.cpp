// The menu model: layout, hover and press states, scrolling and hit testing.
#include "modelo.h"

#include <algorithm>

namespace vimbar {

namespace {

// The rules shared by items and arrows: pressed on down, raised on hover
// (pressed again when the button is still held), flat when left.
bool aplicaEstado(bool dentro, int codigo, int& estado, bool& pulsado) {
  if (dentro) {
    if (codigo == kBajada) {
      if (estado != kHundido) estado = kHundido;
      pulsado = true;
    } else if (codigo == kMovido) {
      if (estado == kPlano) estado = pulsado ? kHundido : kRealzado;
    } else if (codigo == kSubida) {
      if (estado == kHundido || estado == kPlano) estado = kRealzado;
      pulsado = false;
    }
    return true;
  }
  if (codigo != kMovido) pulsado = false;
  if (estado != kPlano) estado = kPlano;
  return false;
}

}  // namespace

// --- Arrow ---

void Arrow::Show(int anchoSuperficie, int menusAtTop, int lineaCorte, int alturaBoton) {
  const int izquierda = anchoSuperficie - 6 - kLadoFlecha;
  if (ArrowType == 1) {
    if (menusAtTop <= 0) {
      Hide();
      return;
    }
    Rect = QRect(izquierda, menusAtTop * alturaBoton + 6, kLadoFlecha, kLadoFlecha);
  } else {
    Rect = QRect(izquierda, lineaCorte - 6 - kLadoFlecha, kLadoFlecha, kLadoFlecha);
  }
  IsDisplayed = true;
}

void Arrow::Hide() {
  IsDisplayed = false;
  Reset();
}

bool Arrow::HitTest(int iMousePosition, int x, int y) {
  if (!IsDisplayed) return false;
  return aplicaEstado(Rect.contains(x, y), iMousePosition, State, pulsada_);
}

void Arrow::Reset() {
  State = kPlano;
  pulsada_ = false;
}

// --- MenuItem ---

bool MenuItem::HitTest(int iMousePosition, int x, int y) {
  if (!Visible) return false;
  return aplicaEstado(HitRect.contains(x, y), iMousePosition, State, pulsado_);
}

// --- MenuItems ---

MenuItem& MenuItems::Add(const QString& caption) {
  auto item = std::make_unique<MenuItem>();
  item->Caption = caption;
  item->Index = Count() + 1;
  items_.push_back(std::move(item));
  return *items_.back();
}

void MenuItems::Delete(int index) {
  if (index < 1 || index > Count()) return;
  items_.erase(items_.begin() + (index - 1));
  for (int i = 0; i < Count(); ++i) items_[i]->Index = i + 1;
  pulsado_ = 0;
}

MenuItem* MenuItems::Item(int index) {
  return index >= 1 && index <= Count() ? items_[index - 1].get() : nullptr;
}

const MenuItem* MenuItems::Item(int index) const {
  return index >= 1 && index <= Count() ? items_[index - 1].get() : nullptr;
}

int MenuItems::MouseProcess(int iMousePosition, int x, int y) {
  int acertado = 0;
  for (auto& item : items_) {
    if (item->HitTest(iMousePosition, x, y) && acertado == 0) acertado = item->Index;
  }
  if (iMousePosition == kBajada) {
    pulsado_ = acertado;
    return acertado;
  }
  if (iMousePosition == kSubida) {
    const int resultado = acertado != 0 && acertado == pulsado_ ? acertado : 0;
    pulsado_ = 0;
    return resultado;
  }
  return acertado;
}

void MenuItems::Reset() {
  pulsado_ = 0;
  for (auto& item : items_) item->Reset();
}

// --- VMenu ---

int VMenu::MouseProcessForArrows(int x, int y, int iMousePosition) {
  const bool subiaPulsada = Up.pulsada();
  const bool bajaPulsada = Down.pulsada();
  const bool enSube = Up.HitTest(iMousePosition, x, y);
  const bool enBaja = Down.HitTest(iMousePosition, x, y);
  if (iMousePosition != kSubida) return 0;
  if (enBaja && bajaPulsada) return 100;
  if (enSube && subiaPulsada) return -100;
  return 0;
}

void VMenu::PaintItems(int ancho, int menuCur, int alturaBoton, int lineaCorte,
                       const MideTexto& mide) {
  const int primero = TopMenuItem();
  bool ultimoCabe = false;
  for (int i = 1; i <= Items.Count(); ++i) {
    MenuItem& item = *Items.Item(i);
    const int n = i - primero + 1;
    const int arriba = kPasoItem * n - kLadoIcono + (menuCur - 1) * alturaBoton;
    if (i < primero || arriba >= lineaCorte) {
      item.Visible = false;
      item.State = kPlano;
      continue;
    }
    item.Visible = true;
    item.Left = ancho / 2 - kLadoIcono / 2;
    item.Top = arriba;
    item.AltoVisibleIcono = std::min(kLadoIcono, lineaCorte - arriba);
    const int altoTexto = mide ? mide(item.Caption, ancho) : 14;
    item.RectTexto = QRect(0, arriba + 36, ancho, altoTexto);
    const int fondo = std::min(arriba + 36 + altoTexto + 5, lineaCorte);
    item.HitRect = QRect(item.Left - 6, arriba - 6, kLadoIcono + 12, fondo - (arriba - 6));
    item.BorderRect = QRect(item.Left - 2, arriba - 2, kLadoIcono + 4, kLadoIcono + 4);
    if (i == Items.Count()) ultimoCabe = arriba + 36 + altoTexto <= lineaCorte;
  }
  if (Items.Count() > 0 && !ultimoCabe) {
    Down.Show(ancho, menuCur, lineaCorte, alturaBoton);
  } else {
    Down.Hide();
  }
  if (primero > 1) {
    Up.Show(ancho, menuCur, lineaCorte, alturaBoton);
  } else {
    Up.Hide();
  }
}

// --- VMenus ---

VMenus::VMenus() = default;

VMenu& VMenus::Add(const QString& sCaption) {
  menus_.push_back(std::make_unique<VMenu>(sCaption, Count() + 1));
  NumberOfMenusChanged = true;
  return *menus_.back();
}

void VMenus::Delete(int index) {
  if (index < 1 || index > Count()) return;
  menus_.erase(menus_.begin() + (index - 1));
  for (int i = 0; i < Count(); ++i) menus_[i]->Index = i + 1;
  menuCur_ = std::min(menuCur_, Count());
  pintado_ = std::min(pintado_, Count());
  NumberOfMenusChanged = true;
}

VMenu* VMenus::Item(int index) {
  return index >= 1 && index <= Count() ? menus_[index - 1].get() : nullptr;
}

const VMenu* VMenus::Item(int index) const {
  return index >= 1 && index <= Count() ? menus_[index - 1].get() : nullptr;
}

int VMenus::TotalMenuItems() const {
  int total = 0;
  for (const auto& m : menus_) total += m->MenuItemCount();
  return total;
}

QString VMenus::Caption(int index) const {
  const VMenu* m = Item(index);
  return m ? m->Caption : QString();
}

void VMenus::setCaption(int index, const QString& caption) {
  if (VMenu* m = Item(index)) m->Caption = caption;
}

void VMenus::setMenuCur(int indice) {
  if (indice < 0 || indice > Count()) return;
  menuCur_ = indice;
  if (VMenu* m = Item(indice)) {
    m->Items.Reset();
    m->Up.Reset();
    m->Down.Reset();
  }
}

void VMenus::setMenu(int ancho, int alto) {
  ancho_ = std::max(0, ancho);
  alto_ = std::max(0, alto);
}

int VMenus::TopBoton(int i, int seleccionado) const {
  if (i <= seleccionado) return (i - 1) * ButtonHeight;
  return alto_ - (Count() - i + 1) * ButtonHeight;
}

int VMenus::LineaCorte() const { return alto_ - (Count() - menuCur_) * ButtonHeight; }

void VMenus::Paint() {
  if (pintado_ == 0) pintado_ = menuCur_;
  NumberOfMenusChanged = false;
  for (int i = 1; i <= Count(); ++i) {
    VMenu& m = *menus_[i - 1];
    m.ButtonTop = TopBoton(i, menuCur_);
    m.ButtonRect = QRect(0, m.ButtonTop, ancho_, ButtonHeight);
    if (i != menuCur_) {
      m.Up.Hide();
      m.Down.Hide();
      for (int j = 1; j <= m.MenuItemCount(); ++j) m.MenuItemItem(j)->Visible = false;
    }
  }
  if (VMenu* m = Item(menuCur_)) m->PaintItems(ancho_, menuCur_, ButtonHeight, LineaCorte(), mide_);
  pintado_ = menuCur_;
}

int VMenus::IsMenuButtonClicked(int x, int y) const {
  for (const auto& m : menus_) {
    if (m->IsMenuSelected(x, y)) return m->Index;
  }
  return 0;
}

void VMenus::MouseProcess(int iMousePosition, int x, int y, int& lHitType, int& result) {
  lHitType = kNada;
  result = 0;
  if (iMousePosition == kBajada) {
    if (const int grupo = IsMenuButtonClicked(x, y)) {
      lHitType = kGrupo;
      result = grupo;
      return;
    }
  }
  VMenu* m = Item(menuCur_);
  if (!m) return;
  const int item = m->Items.MouseProcess(iMousePosition, x, y);
  if (iMousePosition == kSubida && item != 0) {
    lHitType = kItem;
    result = item;
  }
  const int flecha = m->MouseProcessForArrows(x, y, iMousePosition);
  if (flecha == 100 && m->TopMenuItem() < m->MenuItemCount()) {
    m->setTopMenuItem(m->TopMenuItem() + 1);
    lHitType = kBajaItems;
    Paint();
  } else if (flecha == -100 && m->TopMenuItem() > 1) {
    m->setTopMenuItem(m->TopMenuItem() - 1);
    lHitType = kSubeItems;
    Paint();
  }
}

}  // namespace vimbar
