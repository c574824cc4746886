#include "quillmark/core/ObjectWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

// A line of a string holds at most this many characters of its content.
constexpr std::size_t kSegmentLength = 64;
constexpr char kLineBreak[] = "\r\n";

// Characters written inside apostrophes; all others are written as "#" and their code.
template <class Code>
bool IsPlain(Code code) {
    return code >= 32 && code <= 127 && code != '\'';
}

template <class Number>
void AppendDecimal(std::string& text, Number value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

// "#" and the code in decimal takes at most this many characters ("#1114111"); a quoted run
// takes at most three per character.
constexpr std::size_t kMaxCodeLength = 8;

// The "#" forms of the codes 0 to 255, which byte strings use all the time.
struct TByteCodes {
    char text[256][4];
    std::uint8_t length[256];
};

constexpr TByteCodes MakeByteCodes() {
    TByteCodes codes{};
    for (unsigned code = 0; code < 256; ++code) {
        char digits[3] = {};
        std::uint8_t count = 0;
        for (unsigned rest = code; count == 0 || rest > 0; rest /= 10)
            digits[count++] = static_cast<char>('0' + rest % 10);
        codes.text[code][0] = '#';
        for (std::uint8_t i = 0; i < count; ++i) codes.text[code][1 + i] = digits[count - 1 - i];
        codes.length[code] = static_cast<std::uint8_t>(count + 1);
    }
    return codes;
}

constexpr TByteCodes kByteCodes = MakeByteCodes();

inline char* AppendCode(char* out, std::uint32_t code) {
    if (code < 256) {
        std::memcpy(out, kByteCodes.text[code], 4);
        return out + kByteCodes.length[code];
    }
    *out++ = '#';
    return std::to_chars(out, out + kMaxCodeLength - 1, code).ptr;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

const unsigned char* BytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

void TObjectWriter::BeginObject(std::string_view name, std::string_view className) {
    FText += "object ";
    if (!name.empty()) FText.append(name).append(": ");
    FText.append(className);
    EndLine();
    FLevel = 1;
}

void TObjectWriter::EndObject() {
    FLevel = 0;
    FText += "end";
    EndLine();
    if (FOutput && !FText.empty()) HandOver();
}

void TObjectWriter::HandOver() {
    FOutput(FText);
    FText.clear();
}

void TObjectWriter::IntegerProperty(std::string_view name, std::int64_t value) {
    BeginProperty(name);
    AppendDecimal(FText, value);
    EndLine();
}

void TObjectWriter::IdentifierProperty(std::string_view name, std::string_view identifier) {
    BeginProperty(name);
    FText.append(identifier);
    EndLine();
}

void TObjectWriter::TextProperty(std::string_view name, std::string_view text) {
    BeginProperty(name);
    WriteText(text, FLevel);
    EndLine();
}

void TObjectWriter::BytesProperty(std::string_view name, std::string_view bytes) {
    BeginProperty(name);
    WriteBytes(bytes, FLevel);
    EndLine();
}

void TObjectWriter::BeginCollection(std::string_view name) {
    BeginProperty(name);
    FText += '<';
}

void TObjectWriter::BeginItem() {
    FText += kLineBreak;
    Indent(FLevel + 1);
    FText += "item";
    EndLine();
    FLevel += 2;
}

void TObjectWriter::EndItem() {
    FLevel -= 2;
    Indent(FLevel + 1);
    FText += "end";
}

void TObjectWriter::EndCollection() {
    FText += '>';
    EndLine();
}

void TObjectWriter::BeginProperty(std::string_view name) {
    Indent(FLevel);
    FText.append(name).append(" = ");
}

void TObjectWriter::EndLine() {
    FText += kLineBreak;
    HandOverWhenFull();
}

void TObjectWriter::HandOverWhenFull() {
    if (FOutput && FText.size() >= kPieceSize) HandOver();
}

void TObjectWriter::Indent(int level) {
    FText.append(2 * static_cast<std::size_t>(level), ' ');
}

void TObjectWriter::BeginList(std::string_view name) {
    BeginProperty(name);
    FText += '(';
}

void TObjectWriter::ListEntryBreak() {
    HandOverWhenFull();
    FText += kLineBreak;
    Indent(FLevel + 1);
}

void TObjectWriter::EndList() {
    FText += ')';
    EndLine();
}

void TObjectWriter::WriteText(std::string_view text, int level) {
    if (IsAscii(text)) {
        WriteCodes(BytesOf(text), text.size(), level);
        return;
    }
    FCodes.clear();
    DecodeUtf8(text, FCodes);
    WriteCodes(FCodes.data(), FCodes.size(), level);
}

void TObjectWriter::WriteBytes(std::string_view bytes, int level) {
    WriteCodes(BytesOf(bytes), bytes.size(), level);
}

// The string starts on the current line when it fits one segment, otherwise on a line of its own
// one level deeper than the line where the value begins; every further segment continues the
// string after " +" on a new line at that level. Each segment is built in a local buffer and
// appended at once.
template <class Code>
void TObjectWriter::WriteCodes(const Code* codes, std::size_t count, int level) {
    if (count == 0) {
        FText += "''";
        return;
    }
    const int stringLevel = level + 1;
    if (count > kSegmentLength) {
        FText += kLineBreak;
        Indent(stringLevel);
    }
    char segment[kSegmentLength * kMaxCodeLength];
    std::size_t at = 0;
    while (at < count) {
        char* out = segment;
        std::size_t used = 0;
        while (used < kSegmentLength && at < count) {
            if (!IsPlain(codes[at])) {
                out = AppendCode(out, static_cast<std::uint32_t>(codes[at]));
                ++at, ++used;
                continue;
            }
            const std::size_t limit = std::min(count, at + (kSegmentLength - used));
            *out++ = '\'';
            for (; at < limit && IsPlain(codes[at]); ++at, ++used) *out++ = static_cast<char>(codes[at]);
            *out++ = '\'';
        }
        FText.append(segment, static_cast<std::size_t>(out - segment));
        if (at < count) {
            FText += " +";
            FText += kLineBreak;
            Indent(stringLevel);
        }
    }
}

}  // namespace qm
