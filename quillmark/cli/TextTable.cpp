#include "TextTable.h"

#include <algorithm>

#include "TerminalText.h"
#include "quillmark/core/Utf8.h"

namespace qm::cli {

namespace {

constexpr std::string_view kGap = "  ";

std::size_t Width(const std::string& text) {
    std::u32string codes;
    DecodeUtf8(text, codes);
    return codes.size();
}

// One line; a last column aligned left keeps no trailing blanks.
void AppendLine(std::string& out, const std::vector<TTextColumn>& columns,
                const std::vector<std::string>& cells, const std::vector<std::size_t>& widths) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string padding(widths[i] - Width(cells[i]), ' ');
        if (i > 0) out += kGap;
        if (columns[i].alignRight) out += padding;
        out += cells[i];
        if (!columns[i].alignRight && i + 1 < columns.size()) out += padding;
    }
    out += '\n';
}

}  // namespace

std::string TextTable(const std::vector<TTextColumn>& columns,
                      const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::vector<std::string>> lines(1);
    for (const TTextColumn& column : columns) lines[0].push_back(Printable(ValidUtf8(column.heading)));
    for (const auto& row : rows) {
        std::vector<std::string>& cells = lines.emplace_back();
        for (std::size_t i = 0; i < columns.size(); ++i)
            cells.push_back(i < row.size() ? Printable(ValidUtf8(row[i])) : std::string());
    }
    std::vector<std::size_t> widths(columns.size(), 0);
    for (const auto& cells : lines)
        for (std::size_t i = 0; i < columns.size(); ++i) widths[i] = std::max(widths[i], Width(cells[i]));
    std::string out;
    for (const auto& cells : lines) AppendLine(out, columns, cells, widths);
    return out;
}

}  // namespace qm::cli
