#include "quillmark/bluetooth/platform/NameText.h"

#include "quillmark/core/Utf8.h"

namespace qm::bt {

std::string ValidUtf8(std::string_view bytes) {
    std::u32string codes;
    DecodeUtf8(bytes, codes);
    std::string text;
    text.reserve(bytes.size());
    for (char32_t code : codes) AppendUtf8(text, code);
    return text;
}

}  // namespace qm::bt
