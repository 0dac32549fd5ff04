// How the bytes of a text file become characters.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace pemmick::detalle {

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// values above U+10FFFF) and hold at least one multi-byte character.
bool esUtf8MultiByte(std::string_view bytes);

// UTF-8 for such files (Linux users' texts), else one character per byte in
// the Windows-1252 code page. Any bytes at all decode; nothing is dropped.
QString decodifica(const QByteArray& bytes);

// Characters to Qt's UTF-16 and back; a code point the other side cannot hold
// (a lone surrogate, a value above U+10FFFF) becomes U+FFFD.
QString aQString(const std::u32string& texto);
std::u32string aCadena(const QString& texto);

}  // namespace pemmick::detalle
