#pragma once
// The one check every list screen runs its table through. It walks the table's data source
// and delegate the way the table does and fails the running test, naming the place, when
// the contract breaks:
//   - counts are not negative, and the table shows what the data source now says
//     (a screen that changed its data without reloading is caught here);
//   - every row has a cell, and no height is negative;
//   - header titles and index entries are answered for every section, and each index entry
//     leads to a section of the table or to none (-1);
//   - the search symbol, when the index has it, is the first entry;
//   - rows and sections just outside the counts are answered without harm, so that a stale
//     index path from a touch or a delayed call cannot read past the end of a list.
// It hands back what the table holds, for the test's own assertions on texts. A list of
// tens of thousands of persons is counted whole but only its first cellLimit rows are built.

#include "platform/ui/IndexPath.h"

#include <optional>

#include <string>
#include <vector>

namespace ui {
class TableView;
}

namespace testsupport {

struct TableContents {
    struct Row {
        std::string text;
        std::string detail;
        // Every text shown anywhere in the cell, depth first (buttons, custom labels, ...).
        std::vector<std::string> allTexts;
        // False for rows past the cell limit, whose texts were not read.
        bool built { true };
    };
    struct Section {
        std::string header;
        std::vector<Row> rows;
    };
    std::vector<Section> sections;
    std::vector<std::string> indexTitles;

    int rowCount() const;
    // The main texts of one section's rows (empty for a section outside the table).
    std::vector<std::string> rowTexts(int section) const;
    // The main texts of all rows, section after section.
    std::vector<std::string> allRowTexts() const;
    // The section titles, one per section.
    std::vector<std::string> headers() const;
    // The first row whose main text is `text`.
    std::optional<ui::IndexPath> find(const std::string& text) const;
};

struct TableCheckOptions {
    // Off for data sources known to assume in-range index paths (none should).
    bool probeOutOfRange { true };
    // Cells built at most, over all sections; the rows after them are counted only.
    int cellLimit { 5000 };
};

// Checks the table (which must have a data source) and returns its contents.
TableContents checkTable(ui::TableView& table, const TableCheckOptions& options = {});

} // namespace testsupport
