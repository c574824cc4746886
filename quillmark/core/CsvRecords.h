#pragma once
// Reading comma-separated records (RFC 4180): fields separated by commas, records by CR LF or a
// lone LF; a field in double quotes may hold commas, line breaks and doubled quotes. The reader is
// lenient with damaged text: a quote inside an unquoted field is kept as it is, text after a
// closing quote is appended to the field, and an unterminated quote ends at the end of the text.

#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCsvRecords {
public:
    explicit TCsvRecords(std::string_view text) : FText(text) {}

    // The fields of the next record; false at the end of the text.
    bool Next(std::vector<std::string>& fields);

private:
    void ReadQuoted(std::string& field);
    void ReadPlain(std::string& field);
    bool AtRecordEnd() const;

    std::string_view FText;
    std::size_t FAt = 0;
};

}  // namespace qm
