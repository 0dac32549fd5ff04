// FlatButton: a text-only push button drawn flat. At rest it shows only its
// caption; under the pointer it gets a thin raised edge and the caption in the
// hover colour; pressed, a sunken edge and the caption one pixel down and right.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "kestrin/propiedades.h"

namespace plankett {

// The flat button. Raises Click when released after a press that did not
// leave it (a press dragged out and back in still counts).
class FlatButton : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
  Q_PROPERTY(QFont Font READ Font WRITE setFont)
  Q_PROPERTY(uint TextColor READ TextColor WRITE setTextColor)
  Q_PROPERTY(uint HoverColor READ HoverColor WRITE setHoverColor)
  Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
  Q_PROPERTY(FBBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
  Q_PROPERTY(FBStyle Style READ Style WRITE setStyle)
  Q_PROPERTY(short Appearance READ Appearance WRITE setAppearance)

 public:
  enum FBBorderStyle { SinBorde = 0, ConBorde = 1 };
  Q_ENUM(FBBorderStyle)
  enum FBStyle { plano = 0, Estilo3D = 1 };
  Q_ENUM(FBStyle)

  // A new instance: enabled, the default colours, flat, no border, the
  // parent's font (the application's without a parent), and as caption its
  // object name, which IniciaPropiedades takes again once the name is set.
  explicit FlatButton(QWidget* parent);

  QString Caption() const { return caption_; }
  void setCaption(const QString& valor);
  bool Enabled() const { return isEnabled(); }
  QFont Font() const { return font(); }
  // Colours are 32-bit values (plankett/colores.h).
  uint32_t TextColor() const { return colorTexto_; }
  void setTextColor(uint32_t valor);
  uint32_t HoverColor() const { return colorEncima_; }
  void setHoverColor(uint32_t valor);
  uint32_t BackColor() const { return colorFondo_; }
  void setBackColor(uint32_t valor);
  // A value outside the enumeration raises ErrorORV 380.
  FBBorderStyle BorderStyle() const { return borde_; }
  void setBorderStyle(int valor);
  FBStyle Style() const { return estilo_; }
  void setStyle(int valor);
  // Kept and saved only.
  short Appearance() const { return apariencia_; }
  void setAppearance(short valor);

  // At design time the button paints as if the pointer were over it.
  bool ModoDiseno() const { return modoDiseno_; }
  void setModoDiseno(bool valor);

  // The defaults of a new instance, caption from the object name and font
  // from the parent.
  void IniciaPropiedades();
  // Saved properties, read with their defaults and written in the order
  // "BorderStyle", "Appearance", "Font", "Caption", "Enabled", "TextColor",
  // "HoverColor", "BackColor", "Style". A stored value of the wrong kind
  // reads as the default.
  void LeePropiedades(const kestrin::Propiedades& bolsa);
  void EscribePropiedades(kestrin::Propiedades& bolsa) const;

  // State, for the container and for tests.
  bool Encima() const { return encima_; }
  bool Pulsado() const { return pulsado_; }
  // Where the caption starts: centred in the client area, measured with the
  // button's font; negative when the caption is wider than the button.
  QPoint OrigenTexto() const;

  QSize sizeHint() const override;

 signals:
  void Click();
  // Every property write notifies the container with the property's name.
  void PropertyChanged(const QString& nombre);

 protected:
  void paintEvent(QPaintEvent* evento) override;
  void mouseMoveEvent(QMouseEvent* evento) override;
  void mousePressEvent(QMouseEvent* evento) override;
  void mouseDoubleClickEvent(QMouseEvent* evento) override;
  void mouseReleaseEvent(QMouseEvent* evento) override;
  void leaveEvent(QEvent* evento) override;
  void changeEvent(QEvent* evento) override;

 private:
  void cambiada(const char* nombre);
  void pulsa();

  QString caption_;
  uint32_t colorTexto_;
  uint32_t colorEncima_;
  uint32_t colorFondo_;
  FBBorderStyle borde_ = SinBorde;
  FBStyle estilo_ = plano;
  short apariencia_ = 1;
  bool modoDiseno_ = false;
  bool encima_ = false;
  bool pulsado_ = false;
};

}  // namespace plankett
