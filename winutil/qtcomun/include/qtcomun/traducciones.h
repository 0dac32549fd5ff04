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

// A 32-bit colour: 0x80000000 + n is system colour n, read from `paleta`;
// anything else is red + 256 green + 65536 blue. The one table of system
// colours: every control and plankett::colorORV go through it.
inline QColor color(uint32_t valor, const QPalette& paleta) {
  if ((valor & 0x80000000u) == 0) {
    return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
  }
  switch (valor & 0xFF) {
    case 0x01:  // desktop
    case 0x0C:  // application workspace
      return paleta.color(QPalette::Dark);
    case 0x02:  // active caption
    case 0x0D:  // highlight
      return paleta.color(QPalette::Highlight);
    case 0x09:  // caption text
    case 0x0E:  // highlight text
      return paleta.color(QPalette::HighlightedText);
    case 0x04:  // menu: what Qt paints its menus with, a face apart from the text areas
      return paleta.color(QPalette::Window);
    case 0x05:  // window
      return paleta.color(QPalette::Base);
    case 0x0F:  // button face
      return paleta.color(QPalette::Button);
    case 0x10:  // button shadow
      return paleta.color(QPalette::Dark);
    case 0x11:  // grey text
      return paleta.color(QPalette::Disabled, QPalette::Text);
    case 0x12:  // button text
      return paleta.color(QPalette::ButtonText);
    case 0x14:  // 3-D highlight
      return paleta.color(QPalette::Light);
    case 0x15:  // 3-D dark shadow
      return paleta.color(QPalette::Shadow);
    case 0x16:  // 3-D light
      return paleta.color(QPalette::Midlight);
    case 0x17:  // tooltip text
      return paleta.color(QPalette::ToolTipText);
    case 0x18:  // tooltip background
      return paleta.color(QPalette::ToolTipBase);
    default:  // window text, menu text and the rest
      return paleta.color(QPalette::WindowText);
  }
}

// The same, system colours from the application's palette.
inline QColor color(uint32_t valor) { return color(valor, QGuiApplication::palette()); }

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
