#pragma once
// A table for a terminal: a heading row, then one line per row, each column as wide as its widest
// cell (counted in code points) and two blanks between columns. Cells are made printable.

#include <string>
#include <vector>

namespace qm::cli {

struct TTextColumn {
    std::string heading;
    bool alignRight = false;  // numbers; texts are aligned left
};

// Every row has one cell per column.
std::string TextTable(const std::vector<TTextColumn>& columns,
                      const std::vector<std::vector<std::string>>& rows);

}  // namespace qm::cli
