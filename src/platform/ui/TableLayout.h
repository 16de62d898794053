#pragma once
// Where every section, header, row and footer of a table lies, as distances down the
// table's content. The table builds it afresh on every (re)load from the heights its data
// source and delegate give, section by section, and then asks it which rows lie in a band
// of the content (a binary search over running totals, so a table of 50,000 rows finds the
// dozen in sight at once), which row lies under a point, and where a dragged row would
// land. Arithmetic only: it knows nothing of views, cells or widths.
//
// A row of height 0 keeps its place in the order but takes no room: no band contains it,
// no point lies on it. Heights that are not positive finite numbers count as 0.

#include "platform/ui/IndexPath.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

class TableLayout {
public:
    struct Section {
        int rows { 0 };
        double top { 0 };
        double headerHeight { 0 };
        double footerHeight { 0 };
        std::string headerTitle;
        // rowOffsets[r] is where row r starts below the header; one more entry than rows.
        std::vector<double> rowOffsets { 0 };

        double rowsTop() const { return top + headerHeight; }
        double rowsBottom() const { return rowsTop() + rowOffsets.back(); }
        double bottom() const { return rowsBottom() + footerHeight; }
        double rowTop(int row) const { return rowsTop() + rowOffsets[static_cast<std::size_t>(row)]; }
        double rowHeight(int row) const
        {
            return rowOffsets[static_cast<std::size_t>(row) + 1] - rowOffsets[static_cast<std::size_t>(row)];
        }
    };

    // A vertical stretch of the content: where it starts and how high it is.
    struct Span {
        double top { 0 };
        double height { 0 };
        bool operator==(const Span&) const = default;
    };

    // The first section starts at `top` (below a table header view).
    explicit TableLayout(double top = 0);

    // Building, one section at a time and in order: the section starts where the previous
    // one ended; its rows are then appended one by one, and closing it adds its footer.
    void beginSection(std::string headerTitle, double headerHeight, int rows);
    void appendRow(double height);
    void endSection(double footerHeight);

    // Where the content ends: below the last footer (or at `top` without sections).
    double bottom() const;

    int numberOfSections() const { return static_cast<int>(m_sections.size()); }
    // Sections and rows outside the layout have 0 rows, an empty title and an empty span.
    int numberOfRowsInSection(int section) const;
    std::vector<int> rowCounts() const;
    bool isValidIndexPath(const IndexPath& indexPath) const;
    const Section* section(int section) const;
    std::string headerTitle(int section) const;
    Span sectionSpan(int section) const;
    Span rowSpan(const IndexPath& indexPath) const;

    // The row that takes room at that distance down the content, if any.
    std::optional<IndexPath> rowAt(double y) const;
    // Every row taking room that shows at least partly in [top, bottom), in order.
    std::vector<IndexPath> rowsInBand(double top, double bottom) const;
    // The sections that show at least partly in [top, bottom), as [first, last).
    std::pair<int, int> sectionsInBand(double top, double bottom) const;
    // Where a plain table draws a section's header when the content is scrolled to
    // `offset`: pinned to the top while its rows pass under it, pushed up by the end of
    // its rows.
    double floatingHeaderTop(int section, double offset) const;
    // Where a row lifted from `from` lands when dropped with its middle at `y`: the section
    // under y (the last one below the content), and the row after every other row of that
    // section whose middle lies above y. Nothing when there are no sections.
    std::optional<IndexPath> dropTarget(const IndexPath& from, double y) const;

private:
    // The first section that ends below y (numberOfSections() when none does).
    int firstSectionEndingBelow(double y) const;

    double m_top { 0 };
    std::vector<Section> m_sections;
};

} // namespace ui
