#include "quillmark/core/TextCompare.h"

#include <locale.h>
#include <wctype.h>

#include <cwchar>
#include <string>

#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

// Case folding by the Unicode tables of C.UTF-8, whatever the process's own locale is; the
// plain C locale folds only ASCII letters.
locale_t UnicodeLocale() {
    static const locale_t unicode = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return unicode;
}

// The collation of the user's locale, taken once from the environment (LC_ALL, then LC_COLLATE,
// then LANG) as the window's toolkit does when it starts, but without changing the process's
// locale: the command-line tool and the window sort the same texts the same way, whatever else
// sets the process's locale. None when the environment names no installed locale; the order is
// then that of the code points, as in the C locale.
locale_t CollationLocale() {
    static const locale_t collation = ::newlocale(LC_COLLATE_MASK, "", locale_t{});
    return collation;
}

wint_t Lowered(wint_t code) {
    return UnicodeLocale() ? ::towlower_l(code, UnicodeLocale()) : ::towlower(code);
}

wint_t Raised(wint_t code) {
    return UnicodeLocale() ? ::towupper_l(code, UnicodeLocale()) : ::towupper(code);
}

std::wstring Folded(std::string_view text) {
    std::u32string codes;
    DecodeUtf8(text, codes);
    std::wstring folded;
    folded.reserve(codes.size());
    for (char32_t code : codes) folded.push_back(static_cast<wchar_t>(Lowered(static_cast<wint_t>(code))));
    return folded;
}

}  // namespace

int CompareTextIgnoringCase(std::string_view a, std::string_view b) {
    const std::wstring foldedA = Folded(a);
    const std::wstring foldedB = Folded(b);
    const int order =
        CollationLocale() ? ::wcscoll_l(foldedA.c_str(), foldedB.c_str(), CollationLocale()) : 0;
    return order != 0 ? order : foldedA.compare(foldedB);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return Folded(a) == Folded(b);
}

std::u32string UpperCaseKey(std::string_view text) {
    std::u32string key;
    key.reserve(text.size());
    DecodeUtf8(text, key);
    for (char32_t& code : key) code = static_cast<char32_t>(Raised(static_cast<wint_t>(code)));
    return key;
}

}  // namespace qm
