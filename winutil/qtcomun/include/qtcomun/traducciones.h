// Small translations shared by the controls: colour values, key codes,
// shift masks and mouse buttons in the numbering the events carry.
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

#include <cstdint>

namespace qtcomun {

// A 32-bit colour: 0x80000000 + n is system colour n (from the palette),
// anything else red + 256 green + 65536 blue.
inline QColor color(uint32_t valor) {
  if (valor & 0x80000000u) {
    const QPalette p = QGuiApplication::palette();
    switch (valor & 0xFFu) {
      case 0x05: return p.color(QPalette::Base);
      case 0x08: return p.color(QPalette::Text);
      case 0x0D: return p.color(QPalette::Highlight);
      case 0x0E: return p.color(QPalette::HighlightedText);
      case 0x0F: return p.color(QPalette::Button);
      case 0x10: return p.color(QPalette::Mid);
      case 0x12: return p.color(QPalette::ButtonText);
      case 0x14: return p.color(QPalette::Light);
      case 0x15: return p.color(QPalette::Shadow);
      default: return p.color(QPalette::Window);
    }
  }
  return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
}

// Shift mask: 1 Shift, 2 Ctrl, 4 Alt.
inline int16_t mayusculas(Qt::KeyboardModifiers m) {
  return static_cast<int16_t>(((m & Qt::ShiftModifier) ? 1 : 0) |
                              ((m & Qt::ControlModifier) ? 2 : 0) |
                              ((m & Qt::AltModifier) ? 4 : 0));
}

// Mouse buttons: 1 left, 2 right, 4 middle.
inline int16_t botones(Qt::MouseButtons b) {
  return static_cast<int16_t>(((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
                              ((b & Qt::MiddleButton) ? 4 : 0));
}

// The virtual key code of a key: letters and digits as their upper-case
// character, the usual named keys, 0 for the rest.
inline int16_t codigoTecla(int tecla) {
  if (tecla >= Qt::Key_A && tecla <= Qt::Key_Z) return static_cast<int16_t>(tecla);
  if (tecla >= Qt::Key_0 && tecla <= Qt::Key_9) return static_cast<int16_t>(tecla);
  if (tecla >= Qt::Key_F1 && tecla <= Qt::Key_F24) return static_cast<int16_t>(112 + tecla - Qt::Key_F1);
  switch (tecla) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

}  // namespace qtcomun
