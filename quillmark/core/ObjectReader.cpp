#include "quillmark/core/ObjectReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "quillmark/core/Utf8.h"
#include "quillmark/core/Windows1252.h"

namespace qm {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentifierChar(char c) {
    return IsLetter(c) || IsDigit(c);
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int DigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

bool IsHighSurrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDBFF;
}
bool IsLowSurrogate(char32_t code) {
    return code >= 0xDC00 && code <= 0xDFFF;
}

// Collects code points as UTF-8, joining UTF-16 surrogate pairs.
class TTextSink {
public:
    TTextSink(const TObjectReader& reader, std::string& text) : FReader(reader), FText(text) {}
    void operator()(char32_t code) {
        if (FHigh != 0) {
            if (!IsLowSurrogate(code)) FReader.Fail("Unpaired surrogate character code");
            AppendUtf8(FText, 0x10000 + ((FHigh - 0xD800) << 10) + (code - 0xDC00));
            FHigh = 0;
        } else if (IsHighSurrogate(code)) {
            FHigh = code;
        } else if (IsLowSurrogate(code)) {
            FReader.Fail("Unpaired surrogate character code");
        } else if (code < 0x80) {
            FText.push_back(static_cast<char>(code));
        } else {
            AppendUtf8(FText, code);
        }
    }
    void Finish() const {
        if (FHigh != 0) FReader.Fail("Unpaired surrogate character code");
    }

private:
    const TObjectReader& FReader;
    std::string& FText;
    char32_t FHigh = 0;
};

// Each code up to 255 is the byte of the same value. The Windows program writes the bytes 0x80 to
// 0x9F that Windows-1252 maps as the code points of that code page, so those become their bytes.
class TBytesSink {
public:
    TBytesSink(const TObjectReader& reader, std::string& bytes) : FReader(reader), FBytes(bytes) {}
    void operator()(char32_t code) {
        if (code <= 255) {
            FBytes.push_back(static_cast<char>(code));
        } else if (const auto byte = Windows1252Byte(code)) {
            FBytes.push_back(static_cast<char>(*byte));
        } else {
            FReader.Fail("Character code " + std::to_string(code) + " does not fit a byte string");
        }
    }
    void Finish() const {}

private:
    const TObjectReader& FReader;
    std::string& FBytes;
};

}  // namespace

TObjectReader::TObjectReader(std::string_view text) : FText(text) {
    CheckLineLengths();
}

void TObjectReader::CheckLineLengths() const {
    std::size_t start = 0;
    while (start < FText.size()) {
        const void* found = std::memchr(FText.data() + start, '\n', FText.size() - start);
        const std::size_t end = found ? static_cast<const char*>(found) - FText.data() : FText.size();
        const std::size_t length = (end > start && FText[end - 1] == '\r') ? end - 1 - start : end - start;
        if (length > kMaxObjectLineLength)
            throw TObjectReadError(LineAt(start),
                                   "Line longer than " + std::to_string(kMaxObjectLineLength) + " bytes");
        start = end + 1;
    }
}

void TObjectReader::Fail(const std::string& reason) const {
    throw TObjectReadError(LineAt(FPos), reason);
}

int TObjectReader::LineAt(std::size_t position) const {
    const auto end = FText.begin() + static_cast<std::ptrdiff_t>(std::min(position, FText.size()));
    return 1 + static_cast<int>(std::count(FText.begin(), end, '\n'));
}

void TObjectReader::SkipSeparators() {
    while (!AtEnd() && IsSeparator(Peek())) ++FPos;
}

void TObjectReader::Expect(char symbol) {
    SkipSeparators();
    if (AtEnd() || Peek() != symbol) Fail(std::string("\"") + symbol + "\" expected");
    ++FPos;
}

bool SameWord(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsIdentifier(std::string_view text) {
    return !text.empty() && IsLetter(text.front()) && std::all_of(text.begin(), text.end(), IsIdentifierChar);
}

bool TObjectReader::AtWord(std::string_view word) const {
    if (FText.size() - FPos < word.size() || !SameWord(FText.substr(FPos, word.size()), word)) return false;
    const std::size_t after = FPos + word.size();
    return after == FText.size() || !IsIdentifierChar(FText[after]);
}

std::string_view TObjectReader::ScanIdentifier() {
    SkipSeparators();
    if (AtEnd() || !IsLetter(Peek())) Fail("Identifier expected");
    const std::size_t start = FPos;
    while (!AtEnd() && IsIdentifierChar(Peek())) ++FPos;
    return FText.substr(start, FPos - start);
}

void TObjectReader::ReadHeader(std::string& name, std::string& className) {
    SkipSeparators();
    if (!AtWord("object")) Fail("\"object\" expected");
    FPos += 6;
    std::string_view first = ScanIdentifier();
    SkipSeparators();
    if (!AtEnd() && Peek() == ':') {
        ++FPos;
        name.assign(first);
        className.assign(ScanIdentifier());
    } else {
        name.clear();
        className.assign(first);
    }
}

bool TObjectReader::NextProperty(std::string& name) {
    SkipSeparators();
    if (AtEnd()) Fail("\"end\" expected");
    if (AtWord("end")) {
        FPos += 3;
        return false;
    }
    name.assign(ScanIdentifier());
    for (;;) {
        SkipSeparators();
        if (AtEnd() || Peek() != '.') break;
        ++FPos;
        name += '.';
        name.append(ScanIdentifier());
    }
    Expect('=');
    return true;
}

void TObjectReader::ReadEndOfText() {
    SkipSeparators();
    if (!AtEnd()) Fail("Text after the end of the object");
}

std::uint64_t TObjectReader::ScanDigits(int base) {
    if (AtEnd() || DigitValue(Peek()) >= base) Fail("Digit expected");
    std::uint64_t value = 0;
    while (!AtEnd() && DigitValue(Peek()) < base) {
        const auto digit = static_cast<std::uint64_t>(DigitValue(Peek()));
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / static_cast<std::uint64_t>(base))
            Fail("Number too large");
        value = value * static_cast<std::uint64_t>(base) + digit;
        ++FPos;
    }
    if (!AtEnd() && (IsIdentifierChar(Peek()) || Peek() == '.')) Fail("Invalid number");
    return value;
}

std::int64_t TObjectReader::ReadInteger() {
    SkipSeparators();
    if (AtEnd()) Fail("Integer value expected");
    if (Peek() == '$') {
        ++FPos;
        const std::uint64_t value = ScanDigits(16);
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            Fail("Number too large");
        return static_cast<std::int64_t>(value);
    }
    const bool negative = Peek() == '-';
    if (negative) ++FPos;
    if (AtEnd() || !IsDigit(Peek())) Fail("Integer value expected");
    const std::uint64_t value = ScanDigits(10);
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    if (value > limit) Fail("Number too large");
    return negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
}

std::int32_t TObjectReader::ReadInt32() {
    const std::int64_t value = ReadInteger();
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        Fail("Integer out of the 32-bit range");
    return static_cast<std::int32_t>(value);
}

std::string TObjectReader::ReadIdentifier() {
    return std::string(ScanIdentifier());
}

bool TObjectReader::ReadBoolean() {
    SkipSeparators();
    if (AtWord("true")) {
        FPos += 4;
        return true;
    }
    if (AtWord("false")) {
        FPos += 5;
        return false;
    }
    Fail("\"True\" or \"False\" expected");
}

bool TObjectReader::ReadNil() {
    SkipSeparators();
    if (!AtWord("nil")) return false;
    FPos += 3;
    return true;
}

// Both collect into one buffer that keeps its capacity, and copy the result out once.
std::string TObjectReader::ReadText() {
    FValue.clear();
    TTextSink sink(*this, FValue);
    ReadCodes(sink);
    sink.Finish();
    return FValue;
}

std::string TObjectReader::ReadBytes() {
    FValue.clear();
    TBytesSink sink(*this, FValue);
    ReadCodes(sink);
    return FValue;
}

// Sequences of quoted runs and "#" codes without separators between them, joined by "+".
template <class Sink>
void TObjectReader::ReadCodes(Sink&& sink) {
    const auto atPiece = [this] { return !AtEnd() && (Peek() == '\'' || Peek() == '#'); };
    SkipSeparators();
    if (!atPiece()) Fail("String value expected");
    for (;;) {
        while (atPiece()) {
            if (Peek() == '\'')
                ReadQuotedRun(sink);
            else
                sink(ReadCharacterCode());
        }
        const std::size_t end = FPos;
        SkipSeparators();
        if (AtEnd() || Peek() != '+') {
            FPos = end;
            return;
        }
        ++FPos;
        SkipSeparators();
        if (!atPiece()) Fail("String value expected after \"+\"");
    }
}

// A run between apostrophes, in which two apostrophes stand for one. Each byte is the character
// of the same code. A line break or a zero byte ends the text of the run unterminated.
template <class Sink>
void TObjectReader::ReadQuotedRun(Sink& sink) {
    ++FPos;
    for (;;) {
        if (AtEnd() || Peek() == '\r' || Peek() == '\n' || Peek() == '\0') Fail("Unterminated string");
        const char c = Peek();
        ++FPos;
        if (c != '\'') {
            sink(static_cast<unsigned char>(c));
        } else if (!AtEnd() && Peek() == '\'') {
            sink(U'\'');
            ++FPos;
        } else {
            return;
        }
    }
}

char32_t TObjectReader::ReadCharacterCode() {
    ++FPos;
    if (AtEnd() || !IsDigit(Peek())) Fail("Character code expected");
    std::uint32_t code = 0;
    while (!AtEnd() && IsDigit(Peek())) {
        code = code * 10 + static_cast<std::uint32_t>(Peek() - '0');
        if (code > kMaxCodePoint) Fail("Character code out of range");
        ++FPos;
    }
    if (!AtEnd() && IsIdentifierChar(Peek())) Fail("Invalid character code");
    return code;
}

void TObjectReader::BeginList() {
    Expect('(');
}

bool TObjectReader::NextListEntry() {
    SkipSeparators();
    if (AtEnd()) Fail("\")\" expected");
    if (Peek() != ')') return true;
    ++FPos;
    return false;
}

void TObjectReader::BeginCollection() {
    Expect('<');
}

bool TObjectReader::NextItem() {
    SkipSeparators();
    if (!AtEnd() && Peek() == '>') {
        ++FPos;
        return false;
    }
    if (!AtWord("item")) Fail("\"item\" or \">\" expected");
    FPos += 4;
    SkipSeparators();
    if (!AtEnd() && Peek() == '[') {
        ++FPos;
        ReadInteger();
        Expect(']');
    }
    return true;
}

}  // namespace qm
