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

bool AsciiEqualIgnoreCase(const char* a, std::size_t length, const char* b) {
    if (a == nullptr || b == nullptr) return false;
    for (std::size_t i = 0; i < length; ++i, ++b) {
        if (*b == '\0' || FoldAscii(a[i]) != FoldAscii(*b)) return false;
    }
    return *b == '\0';
}

bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace zema
