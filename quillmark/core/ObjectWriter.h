#pragma once
// Writer of the textual object notation in which the session is stored: one object with a header
// line, one line per property (two blanks of indentation per level), CR LF after every line, and
// the closing "end". Values are integers, identifiers, strings, string lists and collections of
// items. Strings are written by character code: texts (UTF-8) by Unicode code point, byte strings
// byte by byte, so that every byte string comes back unchanged.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Receives the text piece by piece, in the order written.
using TTextOutput = std::function<void(std::string_view)>;

class TObjectWriter {
public:
    // Appends to the text.
    explicit TObjectWriter(std::string& text) : FText(text) {}
    // Hands the text over in pieces of about kPieceSize bytes, the last at EndObject.
    explicit TObjectWriter(TTextOutput output) : FOutput(std::move(output)), FText(FBuffer) {}
    static constexpr std::size_t kPieceSize = 256 * 1024;

    // "object " [name ": "] className, at level 0; the properties follow at level 1.
    void BeginObject(std::string_view name, std::string_view className);
    // "end" at level 0.
    void EndObject();

    void IntegerProperty(std::string_view name, std::int64_t value);
    void IdentifierProperty(std::string_view name, std::string_view identifier);
    void TextProperty(std::string_view name, std::string_view text);
    void BytesProperty(std::string_view name, std::string_view bytes);

    // A list property of texts (or byte strings): "(", each entry on a line of its own one level
    // deeper, then ")" directly after the last entry.
    template <class Range>
    void TextListProperty(std::string_view name, const Range& entries) {
        ListProperty(name, entries, &TObjectWriter::WriteText);
    }
    void BytesListProperty(std::string_view name, const std::vector<std::string>& entries) {
        ListProperty(name, entries, &TObjectWriter::WriteBytes);
    }

    // A collection property: "<", per item a line "item", the item's property lines two levels
    // deeper and a line "end", then ">".
    void BeginCollection(std::string_view name);
    void BeginItem();
    void EndItem();
    void EndCollection();

private:
    void BeginProperty(std::string_view name);
    void EndLine();
    void Indent(int level);
    template <class Range>
    void ListProperty(std::string_view name, const Range& entries,
                      void (TObjectWriter::*writeEntry)(std::string_view, int)) {
        BeginList(name);
        for (const auto& entry : entries) {
            ListEntryBreak();
            (this->*writeEntry)(entry, FLevel + 1);
        }
        EndList();
    }
    void BeginList(std::string_view name);
    void ListEntryBreak();
    void EndList();
    void WriteText(std::string_view text, int level);
    void WriteBytes(std::string_view bytes, int level);
    template <class Code>
    void WriteCodes(const Code* codes, std::size_t count, int level);

    void HandOver();
    void HandOverWhenFull();

    TTextOutput FOutput;
    std::string FBuffer;
    std::string& FText;
    int FLevel = 0;
    std::u32string FCodes;
};

}  // namespace qm
