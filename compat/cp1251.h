// Cyrillic single-byte text (Windows code page 1251), the encoding of every
// text that crosses the host boundary. Our own texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace compat {

// Characters that code page 1251 lacks, and malformed UTF-8 sequences,
// become '?'.
std::string Utf8ToCp1251(std::string_view Utf8);

std::string Cp1251ToUtf8(std::string_view Cp1251);

// Appends the UTF-8 encoding of one code point.
void AppendUtf8(std::string& Out, char32_t C);

}  // namespace compat
