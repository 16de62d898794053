// Where a table's rows lie, worked out apart from any view: one layout of headers, rows of
// mixed heights (0 and nonsense among them) and footers, asked everything a table asks.

#include "platform/ui/TableLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using ui::IndexPath;
using ui::TableLayout;

namespace {

struct SectionSpec {
    std::string title;
    double header { 0 };
    std::vector<double> rows;
    double footer { 0 };
};

TableLayout build(double top, const std::vector<SectionSpec>& sections)
{
    TableLayout layout(top);
    for (const auto& section : sections) {
        layout.beginSection(section.title, section.header, static_cast<int>(section.rows.size()));
        for (double height : section.rows)
            layout.appendRow(height);
        layout.endSection(section.footer);
    }
    return layout;
}

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// A search bar of 44 above three sections:
//   section 0 "A": header 44..66, rows 66..110, 110..110 (height 0), 110..140, footer to 150
//   section 1 (no title, no header): rows 150..150 (NaN), 150..150 (-5), 150..194
//   section 2 "C": header 194..216, no rows, footer 216..226 (an infinite height counts 0)
TableLayout sample()
{
    return build(44, { { "A", 22, { 44, 0, 30 }, 10 }, { "", 0, { nan, -5, 44 }, 0 }, { "C", 22, {}, inf + 10 } });
}

} // namespace

TEST(TableLayoutTest, SectionsAndRowsLieOneBelowTheOtherAndNonsenseHeightsTakeNoRoom)
{
    TableLayout layout = sample();
    ASSERT_EQ(layout.numberOfSections(), 3);
    EXPECT_EQ(layout.rowCounts(), (std::vector<int> { 3, 3, 0 }));
    EXPECT_EQ(layout.headerTitle(0), "A");
    EXPECT_EQ(layout.sectionSpan(0), (TableLayout::Span { 44, 106 }));
    EXPECT_EQ(layout.sectionSpan(1), (TableLayout::Span { 150, 44 }));
    EXPECT_EQ(layout.sectionSpan(2), (TableLayout::Span { 194, 22 }));
    EXPECT_EQ(layout.bottom(), 216);

    struct Case {
        IndexPath row;
        TableLayout::Span span;
    };
    for (const Case& c : std::vector<Case> { { { 0, 0 }, { 66, 44 } },
                                             { { 0, 1 }, { 110, 0 } },
                                             { { 0, 2 }, { 110, 30 } },
                                             { { 1, 0 }, { 150, 0 } },
                                             { { 1, 1 }, { 150, 0 } },
                                             { { 1, 2 }, { 150, 44 } } })
        EXPECT_EQ(layout.rowSpan(c.row), c.span) << c.row.toString();

    // Outside the layout: nothing, never a crash.
    for (IndexPath outside : { IndexPath { -1, 0 }, IndexPath { 0, 3 }, IndexPath { 0, -1 }, IndexPath { 2, 0 }, IndexPath { 3, 0 } }) {
        EXPECT_FALSE(layout.isValidIndexPath(outside)) << outside.toString();
        EXPECT_EQ(layout.rowSpan(outside), TableLayout::Span {}) << outside.toString();
    }
    EXPECT_EQ(layout.numberOfRowsInSection(7), 0);
    EXPECT_EQ(layout.headerTitle(-1), "");
    EXPECT_EQ(layout.section(3), nullptr);
    EXPECT_EQ(TableLayout(12).bottom(), 12);
}

TEST(TableLayoutTest, APointFindsTheRowTakingRoomThereAndNothingElse)
{
    TableLayout layout = sample();
    struct Case {
        double y;
        std::optional<IndexPath> row;
    };
    for (const Case& c : std::vector<Case> {
             { -1, std::nullopt },      // above the content
             { 20, std::nullopt },      // the search bar
             { 50, std::nullopt },      // section 0's header
             { 66, IndexPath { 0, 0 } }, // a row starts where it starts
             { 109.9, IndexPath { 0, 0 } },
             { 110, IndexPath { 0, 2 } }, // not the row of height 0 lying there
             { 145, std::nullopt },     // the footer
             { 150, IndexPath { 1, 2 } },
             { 193.9, IndexPath { 1, 2 } },
             { 200, std::nullopt },     // a header without rows
             { 5000, std::nullopt } })
        EXPECT_EQ(layout.rowAt(c.y), c.row) << "y " << c.y;
}

TEST(TableLayoutTest, ABandHoldsTheRowsShowingInItAndTheSectionsItCrosses)
{
    TableLayout layout = sample();
    struct Case {
        double top;
        double bottom;
        std::vector<IndexPath> rows;
        std::pair<int, int> sections;
    };
    for (const Case& c : std::vector<Case> {
             { 0, 480, { { 0, 0 }, { 0, 2 }, { 1, 2 } }, { 0, 3 } },
             { 0, 66, {}, { 0, 1 } },                         // a row just below the band is not in it
             { 109, 111, { { 0, 0 }, { 0, 2 } }, { 0, 1 } },   // partly shown rows count
             { 140, 150, {}, { 0, 1 } },                      // only a footer
             { 145, 160, { { 1, 2 } }, { 0, 2 } },
             { 216, 400, {}, { 3, 3 } },                      // below the content
             { 100, 100, {}, { 0, 1 } } })                    // an empty band shows no row
    {
        EXPECT_EQ(layout.rowsInBand(c.top, c.bottom), c.rows) << c.top << ".." << c.bottom;
        if (c.bottom > c.top)
            EXPECT_EQ(layout.sectionsInBand(c.top, c.bottom), c.sections) << c.top << ".." << c.bottom;
    }
}

TEST(TableLayoutTest, AFloatingHeaderStaysAtTheTopUntilTheEndOfItsRowsPushesItUp)
{
    TableLayout layout = build(0, { { "A", 22, { 44, 44, 44 }, 0 }, { "B", 22, { 44 }, 0 } });
    struct Case {
        double offset;
        double top;
    };
    // Section A: header at 0, rows 22..154.
    for (const Case& c : std::vector<Case> { { -30, 0 }, { 0, 0 }, { 60, 60 }, { 132, 132 }, { 140, 132 }, { 400, 132 } })
        EXPECT_EQ(layout.floatingHeaderTop(0, c.offset), c.top) << "offset " << c.offset;
    EXPECT_EQ(layout.floatingHeaderTop(1, 0), 154);
}

TEST(TableLayoutTest, ADroppedRowLandsAfterTheOtherRowsWhoseMiddlesLieAboveIt)
{
    // Section 0: rows 0..44, 44..88, 88..88 (height 0), 88..132; section 1: rows 132..176, 176..220.
    TableLayout layout = build(0, { { "", 0, { 44, 44, 0, 44 }, 0 }, { "", 0, { 44, 44 }, 0 } });
    struct Case {
        IndexPath from;
        double middle;
        IndexPath to;
    };
    for (const Case& c : std::vector<Case> {
             { { 0, 0 }, 10, { 0, 0 } },
             { { 0, 0 }, 70, { 0, 1 } },   // past the middle of row 1, the lifted row not counted
             { { 0, 3 }, 30, { 0, 1 } },
             { { 0, 3 }, 100, { 0, 2 } },  // the row of height 0 has no middle to pass
             { { 0, 0 }, 160, { 1, 1 } },  // into the other section
             { { 1, 1 }, 900, { 1, 1 } },  // below everything: the end of the last section
             { { 1, 0 }, -50, { 0, 0 } } })
        EXPECT_EQ(layout.dropTarget(c.from, c.middle), c.to) << c.from.toString() << " at " << c.middle;
    EXPECT_EQ(TableLayout().dropTarget({ 0, 0 }, 10), std::nullopt);
}

TEST(TableLayoutTest, FiftyThousandRowsStillGiveTheDozenInSight)
{
    TableLayout layout;
    layout.beginSection("All", 22, 50000);
    for (int row = 0; row < 50000; ++row)
        layout.appendRow(row % 10 == 9 ? 0 : 48);
    layout.endSection(0);
    double top = 22 + 45000 * 48 * 0.9;   // every tenth row takes no room
    auto rows = layout.rowsInBand(top, top + 480);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front(), (IndexPath { 0, 50000 * 9 / 10 }));
    for (const auto& row : rows)
        EXPECT_GT(layout.rowSpan(row).height, 0) << row.toString();
    EXPECT_EQ(layout.rowAt(top), rows.front());
}
