#pragma once
// Device names arrive from radios as bytes that should be UTF-8 but need not be.

#include <string>
#include <string_view>

namespace qm::bt {

// The bytes as UTF-8, each invalid sequence (bad lead or continuation byte, overlong form,
// surrogate, code point above U+10FFFF, truncated sequence) replaced by U+FFFD.
std::string ValidUtf8(std::string_view bytes);

}  // namespace qm::bt
