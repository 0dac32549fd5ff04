// The program's identity: product name and version numbers, as the About
// window shows them.
#pragma once

#include <QString>

namespace orv {

struct Version {
  int mayor;
  int menor;
  int revision;
};

// This release: 2.5.3 (file version 2.05.0003).
inline constexpr Version kVersion{2, 5, 3};
inline constexpr char kProducto[] = "Orvane";

// "Versión 2.5 Rev. 3": each number in plain decimal, without padding.
QString textoVersion(const Version& v = kVersion);

// "2.05.0003", the file version the platform records.
QString versionFichero(const Version& v = kVersion);

}  // namespace orv
