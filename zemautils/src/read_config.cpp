// ReadConfig: the first line whose first blank-delimited word before '=' equals the key (ASCII,
// any case) gives the value after '='. '#' starts a comment anywhere on a line. Lines are read in
// pieces of at most 1023 characters, so a longer line counts as several. Case and white space are
// ASCII in every locale: under a Turkish locale the C library lowers 'I' to a dotless i, and
// "LOGMAXSIZE" would no longer be the key LogMaxSize.

#include <zemautils/trace.h>

#include <cstdio>
#include <cstring>

#include "ascii_case.h"
#include "read_config.h"

namespace {

char g_line[1024];

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsTrailing(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Files are read as text: a CR LF line end counts as a single LF.
void FoldLineEnd(char* piece) {
    const std::size_t length = std::strlen(piece);
    if (length >= 2 && piece[length - 2] == '\r' && piece[length - 1] == '\n') {
        piece[length - 2] = '\n';
        piece[length - 1] = '\0';
    }
}

bool FirstWordIs(const char* text, const char* key) {
    while (zema::IsAsciiSpace(*text)) ++text;
    const char* end = text;
    while (*end && !zema::IsAsciiSpace(*end)) ++end;
    const std::size_t length = static_cast<std::size_t>(end - text);
    return length > 0 && zema::AsciiEqualIgnoreCase(text, length, key);
}

// The value after '=': leading blanks and tabs skipped, trailing blanks, tabs and line feeds
// removed, but never the first character.
char* TrimValue(char* value) {
    while (IsBlank(*value)) ++value;
    std::size_t length = std::strlen(value);
    while (length > 1 && IsTrailing(value[length - 1])) value[--length] = '\0';
    return value;
}

// The value of the piece in g_line when its key matches, else nullptr.
const char* MatchPiece(const char* key) {
    if (char* comment = std::strchr(g_line, '#')) *comment = '\0';
    char* equals = std::strchr(g_line, '=');
    if (!equals) return nullptr;
    *equals = '\0';
    if (!FirstWordIs(g_line, key)) return nullptr;
    return TrimValue(equals + 1);
}

}  // namespace

namespace zema {

std::int32_t ConfigInteger(const char* text) {
    while (IsAsciiSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    std::uint32_t value = 0;
    while (*text >= '0' && *text <= '9') value = value * 10u + static_cast<std::uint32_t>(*text++ - '0');
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

}  // namespace zema

extern "C" const char* ReadConfig(const char* configurationFile, const char* key, const char* defaultValue) {
    if (!configurationFile || !key) return defaultValue;
    // "e": close on exec, so a process that another thread starts meanwhile inherits nothing.
    std::FILE* file = std::fopen(configurationFile, "re");
    if (!file) return defaultValue;
    const char* result = defaultValue;
    while (std::fgets(g_line, sizeof g_line, file)) {
        FoldLineEnd(g_line);
        if (const char* value = MatchPiece(key)) {
            result = value;
            break;
        }
    }
    std::fclose(file);
    return result;
}
