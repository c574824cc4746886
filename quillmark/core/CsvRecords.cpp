#include "quillmark/core/CsvRecords.h"

namespace qm {

bool TCsvRecords::AtRecordEnd() const {
    return FAt >= FText.size() || FText[FAt] == '\n' || FText.substr(FAt, 2) == "\r\n";
}

void TCsvRecords::ReadQuoted(std::string& field) {
    ++FAt;  // the opening quote
    while (FAt < FText.size()) {
        const char c = FText[FAt++];
        if (c != '"') {
            field += c;
        } else if (FAt < FText.size() && FText[FAt] == '"') {
            field += '"';
            ++FAt;
        } else {
            return;
        }
    }
}

void TCsvRecords::ReadPlain(std::string& field) {
    while (FAt < FText.size() && FText[FAt] != ',' && !AtRecordEnd()) field += FText[FAt++];
}

bool TCsvRecords::Next(std::vector<std::string>& fields) {
    fields.clear();
    if (FAt >= FText.size()) return false;
    for (;;) {
        std::string& field = fields.emplace_back();
        if (FAt < FText.size() && FText[FAt] == '"') ReadQuoted(field);
        ReadPlain(field);
        if (FAt < FText.size() && FText[FAt] == ',') {
            ++FAt;
            continue;
        }
        FAt += FAt < FText.size() && FText[FAt] == '\r' ? 2 : 1;
        return true;
    }
}

}  // namespace qm
