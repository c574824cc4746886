#pragma once
// Reader of the textual object notation (see ObjectWriter.h), pulled by a caller that knows which
// kind of value each property takes. It accepts what the writer produces and tolerates: any run of
// bytes 0 to 32 between tokens; words, property names and identifiers in any letter case; blanks
// around the dots of a property name; strings of quoted runs (two apostrophes for one) and "#"
// codes, joined by "+" across lines; integers in hexadecimal after "$"; "item [n]". Lines may hold
// at most 4096 bytes. Every other deviation throws TObjectReadError naming the line.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm {

class TObjectReadError : public std::runtime_error {
public:
    TObjectReadError(int line, const std::string& reason)
        : std::runtime_error("line " + std::to_string(line) + ": " + reason), FLine(line) {}
    int Line() const { return FLine; }

private:
    int FLine;
};

inline constexpr std::size_t kMaxObjectLineLength = 4096;

// Equal but for the letter case of ASCII letters: how words, property names and identifiers of
// the notation are matched.
bool SameWord(std::string_view a, std::string_view b);
// A letter or "_" followed by letters, digits and "_": the form of names and identifiers.
bool IsIdentifier(std::string_view text);

class TObjectReader {
public:
    // The text must outlive the reader. Throws for a line longer than kMaxObjectLineLength.
    explicit TObjectReader(std::string_view text);

    // "object" [name ":"] className.
    void ReadHeader(std::string& name, std::string& className);
    // The next property name of the current object or item, its dots joined without blanks, and
    // the "=" after it; false when "end" closes the object or item instead.
    bool NextProperty(std::string& name);
    // Nothing but separators may follow the object's "end".
    void ReadEndOfText();

    std::int32_t ReadInt32();
    std::string ReadIdentifier();
    bool ReadBoolean();
    // True (and consumed) when the value is the word "nil".
    bool ReadNil();
    // A string whose codes are Unicode code points, as UTF-8. UTF-16 surrogate pairs are joined.
    std::string ReadText();
    // A string whose codes are bytes (0 to 255), or the code points Windows-1252 gives the bytes
    // 0x80 to 0x9F.
    std::string ReadBytes();

    // "(" entries ")": NextListEntry is false once the ")" is consumed.
    void BeginList();
    bool NextListEntry();
    // "<" items ">": NextItem consumes "item" [ "[" integer "]" ], or the ">" and gives false.
    void BeginCollection();
    bool NextItem();

    // Throws the error for the line of the current position.
    [[noreturn]] void Fail(const std::string& reason) const;

private:
    void CheckLineLengths() const;
    void SkipSeparators();
    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek() const { return FText[FPos]; }
    void Expect(char symbol);
    bool AtWord(std::string_view word) const;
    std::string_view ScanIdentifier();
    std::int64_t ReadInteger();
    std::uint64_t ScanDigits(int base);
    template <class Sink>
    void ReadCodes(Sink&& sink);
    template <class Sink>
    void ReadQuotedRun(Sink& sink);
    char32_t ReadCharacterCode();
    int LineAt(std::size_t position) const;

    std::string_view FText;
    std::size_t FPos = 0;
    std::string FValue;
};

}  // namespace qm
