#pragma once
// UTF-8 conversions for texts that are handled by code point.

#include <string>
#include <string_view>

namespace qm {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code points of a UTF-8 text, appended to `codes`. Each byte that does not begin a valid
// sequence (overlong forms and surrogates included) becomes U+FFFD.
void DecodeUtf8(std::string_view text, std::u32string& codes);

// The bytes as valid UTF-8: each byte that does not begin a valid sequence becomes U+FFFD.
std::string ValidUtf8(std::string_view bytes);

// Appends the UTF-8 form of a code point (at most 0x10FFFF, not a surrogate).
void AppendUtf8(std::string& text, char32_t code);

}  // namespace qm
