#pragma once
// Comparisons of texts (UTF-8) that ignore letter case. The order follows the collation of the
// user's locale as the environment names it (LC_ALL, LC_COLLATE, LANG), read once and independent
// of the process's own locale; case folding by the Unicode tables.

#include <string>
#include <string_view>

namespace qm {

// Negative, zero or positive as a sorts before, with or after b.
int CompareTextIgnoringCase(std::string_view a, std::string_view b);

// True when the texts differ at most in letter case.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// The code points of the text in their upper-case forms: texts that differ only in letter case
// have equal keys. Fold a text once and compare or hash its key.
std::u32string UpperCaseKey(std::string_view text);

}  // namespace qm
