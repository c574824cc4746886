#include "quillmark/core/TextCompare.h"

#include <cwchar>
#include <cwctype>
#include <string>

#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

std::wstring Folded(std::string_view text) {
    std::u32string codes;
    DecodeUtf8(text, codes);
    std::wstring folded;
    folded.reserve(codes.size());
    for (char32_t code : codes)
        folded.push_back(static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(code))));
    return folded;
}

}  // namespace

int CompareTextIgnoringCase(std::string_view a, std::string_view b) {
    const std::wstring foldedA = Folded(a);
    const std::wstring foldedB = Folded(b);
    const int order = std::wcscoll(foldedA.c_str(), foldedB.c_str());
    return order != 0 ? order : foldedA.compare(foldedB);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return Folded(a) == Folded(b);
}

}  // namespace qm
