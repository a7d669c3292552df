#pragma once
// A plain-text table: the first column left-aligned (labels), the others right-aligned, each
// as wide as its widest cell.

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace vrn
{

/// Rows of cells printed as aligned columns separated by at least two spaces.
class TextTable
{
public:
    /// A table with these column headings.
    explicit TextTable(std::vector<std::string> headings) { rows.push_back(std::move(headings)); }

    /// Adds a row; missing cells stay empty.
    void AddRow(std::vector<std::string> cells) { rows.push_back(std::move(cells)); }

    /// Prints the headings and the rows on stdout.
    void Print() const
    {
        std::vector<std::size_t> widths(rows.front().size(), 0);
        for (const std::vector<std::string>& row : rows)
        {
            for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
                widths[c] = std::max(widths[c], row[c].size());
        }
        for (const std::vector<std::string>& row : rows)
        {
            std::string line;
            for (std::size_t c = 0; c < widths.size(); ++c)
            {
                const std::string cell = c < row.size() ? row[c] : "";
                const std::string fill(widths[c] - cell.size(), ' ');
                line += c == 0 ? cell + fill : "  " + fill + cell;
            }
            std::printf("%s\n", line.c_str());
        }
    }

private:
    std::vector<std::vector<std::string>> rows;
};

} // namespace vrn
