// The toolbar images of the text box.
#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

namespace pemmick::detalle {

// The image of a built-in key: grey at rest (Normal), coloured under the
// pointer (Active), at every usual screen density.
QIcon iconoBarra(const QString& key);
// The images' logical size: 16 by 15.
QSize tamanoIcono();

}  // namespace pemmick::detalle
