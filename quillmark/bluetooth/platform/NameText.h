#pragma once
// Device names arrive from radios as bytes that should be UTF-8 but need not be.

#include <string>
#include <string_view>

namespace qm::bt {

// The bytes as valid UTF-8: each byte that does not begin a valid sequence becomes U+FFFD.
std::string ValidUtf8(std::string_view bytes);

}  // namespace qm::bt
