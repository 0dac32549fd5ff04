// ORVRotLabel: a caption drawn rotated (by default reading upwards) and, by
// default, embossed: a shadow layer and a face layer shifted by Relieve.
#pragma once

#include <QFont>
#include <QIcon>
#include <QString>
#include <QWidget>

#include <cstdint>

#include "kestrin/evento.h"
#include "kestrin/propiedades.h"

namespace pemmick {

class ORVRotLabel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(int32_t Angulo READ Angulo WRITE setAngulo)
  Q_PROPERTY(bool Font3D READ Font3D WRITE setFont3D)
  Q_PROPERTY(uint32_t BackColor3D READ BackColor3D WRITE setBackColor3D)
  Q_PROPERTY(uint32_t ForeColor3D READ ForeColor3D WRITE setForeColor3D)
  Q_PROPERTY(float Relieve READ Relieve WRITE setRelieve)
  Q_PROPERTY(uint32_t BackColor READ BackColor WRITE setBackColor)
  Q_PROPERTY(uint32_t ForeColor READ ForeColor WRITE setForeColor)
  Q_PROPERTY(float FontSize READ FontSize WRITE setFontSize)
  Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
  Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
  Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
  Q_PROPERTY(int16_t Appearance READ Appearance WRITE setAppearance)
  Q_PROPERTY(int16_t BackStyle READ BackStyle WRITE setBackStyle)
  Q_PROPERTY(int16_t BorderStyle READ BorderStyle WRITE setBorderStyle)
  Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled_)
  Q_PROPERTY(QFont Font READ Font WRITE setFont_)
  Q_PROPERTY(int16_t MousePointer READ MousePointer WRITE setMousePointer)
  Q_PROPERTY(QIcon MouseIcon READ MouseIcon WRITE setMouseIcon)

 public:
  explicit ORVRotLabel(QWidget* parent);

  QString Caption() const { return caption_; }
  void setCaption(const QString& v);
  // Degrees counter-clockwise; used when Font3D is True.
  int32_t Angulo() const { return angulo_; }
  void setAngulo(int32_t v);
  bool Font3D() const { return font3D_; }
  void setFont3D(bool v);
  uint32_t BackColor3D() const { return backColor3D_; }
  void setBackColor3D(uint32_t v);
  uint32_t ForeColor3D() const { return foreColor3D_; }
  void setForeColor3D(uint32_t v);
  // Offset of the face layer in twips (15 per logical pixel), on both axes.
  float Relieve() const { return relieve_; }
  void setRelieve(float v);
  uint32_t BackColor() const { return backColor_; }
  void setBackColor(uint32_t v);
  uint32_t ForeColor() const { return foreColor_; }
  void setForeColor(uint32_t v);
  QFont Font() const { return font(); }
  void setFont_(const QFont& f);
  float FontSize() const { return fontSize_; }
  void setFontSize(float v);
  // At most 31 characters are kept, as the font record holds.
  QString FontName() const { return fontName_; }
  void setFontName(const QString& v);
  bool FontItalic() const { return fontItalic_; }
  void setFontItalic(bool v);
  bool FontBold() const { return fontBold_; }
  void setFontBold(bool v);
  int16_t Appearance() const { return appearance_; }
  void setAppearance(int16_t v);
  int16_t BackStyle() const { return backStyle_; }
  void setBackStyle(int16_t v);
  int16_t BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int16_t v);
  bool Enabled() const { return isEnabled(); }
  void setEnabled_(bool v);
  // The pointer over the label: 0 the default one, 1 to 15 the usual shapes
  // (1 arrow, 2 cross, 3 I-beam, 5 and 15 move, 6 to 9 the sizing arrows, 10
  // up arrow, 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and
  // question mark), 99 the picture MouseIcon (the arrow while there is none).
  int16_t MousePointer() const { return mousePointer_; }
  void setMousePointer(int16_t v);
  QIcon MouseIcon() const { return mouseIcon_; }
  void setMouseIcon(const QIcon& v);

  void Refresh() { repaint(); }

  // The font each layer is drawn with.
  QFont fuenteCaption() const;
  // Where the first layer starts, in logical pixels: x = (W - h) / 2 and
  // y = w + (H - w) / 2 for the caption's height h and width w.
  QPointF origen() const;

  void GuardaPropiedades(kestrin::Propiedades& p) const;
  void LeePropiedades(const kestrin::Propiedades& p);

  struct Eventos {
    kestrin::Evento<> Click;
    kestrin::Evento<> DblClick;
    kestrin::Evento<int16_t&, int16_t&> KeyDown;
    kestrin::Evento<int16_t&> KeyPress;
    kestrin::Evento<int16_t&, int16_t&> KeyUp;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseDown;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseMove;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseUp;
  } eventos;

  // Notified with the key of each saved property written.
  kestrin::Evento<const QString&> propiedadCambiada;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void keyReleaseEvent(QKeyEvent*) override;

 private:
  void cambia(const char* clave);
  void aplicaPuntero();

  QString caption_;
  int32_t angulo_ = 90;
  bool font3D_ = true;
  uint32_t backColor3D_ = 0;
  uint32_t foreColor3D_ = 0xFFFFFF;
  float relieve_ = 10;
  uint32_t backColor_ = 0x8000000F;
  uint32_t foreColor_ = 0x404040;
  float fontSize_ = 10;
  QString fontName_ = QStringLiteral("Arial");
  bool fontItalic_ = false;
  bool fontBold_ = false;
  int16_t appearance_ = 1;
  int16_t backStyle_ = 0;
  int16_t borderStyle_ = 1;
  int16_t mousePointer_ = 0;
  QIcon mouseIcon_;
};

}  // namespace pemmick
