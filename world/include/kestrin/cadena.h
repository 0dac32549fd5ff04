// The one text type of the core and its conversions at the edges.
//
// Inside the core a text is a std::u32string, one element per character.
// Qt and Python speak UTF-8; files and character codes use the 8-bit
// Windows-1252 code page, where a character it cannot hold becomes "?" (63).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

using Cadena = std::u32string;
using VistaCadena = std::u32string_view;

// UTF-8 bytes to characters; a malformed sequence gives U+FFFD for each bad byte.
Cadena desdeUtf8(std::string_view utf8);
std::string aUtf8(VistaCadena texto);

// Windows-1252 bytes to characters (undefined bytes map to the C1 control of the same code).
Cadena desdeAnsi(std::string_view bytes);
// Characters to Windows-1252 bytes; what the code page cannot hold becomes '?'.
std::string aAnsi(VistaCadena texto);

// Code of a character in Windows-1252 (0..255), or 63 when it has none.
uint8_t codigoAnsi(char32_t c);
// Character of a Windows-1252 code.
char32_t caracterAnsi(uint8_t codigo);

// Locale-independent case folding: the ASCII letters, the Latin-1 letters
// (Ñ, the accented vowels, ...) map to their lower-case forms.
char32_t minuscula(char32_t c);
Cadena enMinusculas(VistaCadena texto);
// Case-insensitive equality under minuscula().
bool igualesSinMayusculas(VistaCadena a, VistaCadena b);

}  // namespace kestrin
