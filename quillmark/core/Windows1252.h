#pragma once
// The bytes 0x80 to 0x9F of the Windows-1252 code page, which the Windows program's session files
// write as the Unicode code points that code page gives them.

#include <optional>

namespace qm {

// The byte 0x80 to 0x9F that Windows-1252 maps to the code point; none for every other code point,
// the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) included.
std::optional<unsigned char> Windows1252Byte(char32_t codePoint);

}  // namespace qm
