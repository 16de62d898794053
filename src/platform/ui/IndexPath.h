#pragma once
// The address of one row of a table: its section and its row within that section. Index
// paths order by section, then row, the way the rows lie from top to bottom.

#include <compare>
#include <string>

namespace ui {

struct IndexPath {
    int section { 0 };
    int row { 0 };

    static IndexPath forRow(int row, int section) { return { section, row }; }

    bool operator==(const IndexPath&) const = default;
    auto operator<=>(const IndexPath&) const = default;

    // "section:row", for log lines and test messages.
    std::string toString() const { return std::to_string(section) + ":" + std::to_string(row); }
};

} // namespace ui
