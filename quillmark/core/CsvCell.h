#pragma once
// One cell of an RFC 4180 record as the CSV outputs write it: in double quotes, inner quotes
// doubled, UTF-8 with invalid bytes replaced. A text cell that a spreadsheet would take for a
// formula (one that starts with "=", "+", "-", "@", a tab or a carriage return) gets a leading
// single quote, so that texts from strangers stay text; a number cell is written as it is.

#include <string>
#include <string_view>

namespace qm {

// Appends the cell, after a comma unless it is the first of its record.
void AppendCsvText(std::string& out, std::string_view text, bool first = false);
void AppendCsvNumber(std::string& out, std::string_view number, bool first = false);

}  // namespace qm
