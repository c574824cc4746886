// Folding only 'A'-'Z' keeps the comparison the same in every locale: symbols and tag names are
// plain ASCII, and a byte outside it must match exactly.

#include "ascii_case.h"

namespace zema {
namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool AsciiEqualIgnoreCase(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return false;
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b)) return false;
    }
    return *a == *b;
}

}  // namespace zema
