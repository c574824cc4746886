#include "quillmark/core/CsvCell.h"

#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

constexpr std::string_view kFormulaStarts = "=+-@\t\r";

void AppendQuoted(std::string& out, std::string_view cell, bool guardFormula, bool first) {
    if (!first) out += ',';
    out += '"';
    if (guardFormula && !cell.empty() && kFormulaStarts.find(cell.front()) != std::string_view::npos)
        out += '\'';
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

void AppendCsvText(std::string& out, std::string_view text, bool first) {
    AppendQuoted(out, ValidUtf8(text), true, first);
}

void AppendCsvNumber(std::string& out, std::string_view number, bool first) {
    AppendQuoted(out, ValidUtf8(number), false, first);
}

}  // namespace qm
