#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "support/TableChecker.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

// A sectioned list of names, with the faults a screen can make switchable.
class Names : public TableViewDataSource, public TableViewDelegate {
public:
    std::vector<std::vector<std::string>> sections { { "Adams", "Allen" }, { "Baker" } };
    bool negativeHeight { false };
    int indexTarget { 0 };

    int numberOfSectionsInTableView(TableView&) override { return static_cast<int>(sections.size()); }
    int numberOfRowsInSection(TableView&, int section) override
    {
        return section >= 0 && section < static_cast<int>(sections.size()) ? static_cast<int>(sections[static_cast<std::size_t>(section)].size()) : 0;
    }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& path) override
    {
        auto cell = table.dequeueReusableCellWithIdentifier("name");
        if (!cell)
            cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "name");
        if (path.section < static_cast<int>(sections.size()) && path.row < static_cast<int>(sections[static_cast<std::size_t>(path.section)].size()))
            cell->textLabel().setText(sections[static_cast<std::size_t>(path.section)][static_cast<std::size_t>(path.row)]);
        return cell;
    }
    std::string titleForHeaderInSection(TableView&, int section) override { return section == 0 ? "A" : "B"; }
    std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override { return { TableViewIndexSearch, "A", "B" }; }
    int sectionForSectionIndexTitle(TableView&, const std::string&, int index) override { return index == 0 ? -1 : index == 2 ? 1 + indexTarget : index - 1; }
    double heightForRowAtIndexPath(TableView&, const IndexPath& path) override { return negativeHeight && path == IndexPath {} ? -1 : 44; }
};

struct TableCheckerTest : ::testing::Test {
    Names names;
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect { 0, 0, 320, 400 });
    TableCheckerTest()
    {
        table->setDataSource(&names);
        table->setDelegate(&names);
    }
    ~TableCheckerTest() override
    {
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
    }
};

} // namespace

TEST_F(TableCheckerTest, SoundListPassesAndComesBackAsTexts)
{
    auto contents = testsupport::checkTable(*table);
    EXPECT_EQ(contents.allRowTexts(), (std::vector<std::string> { "Adams", "Allen", "Baker" }));
    EXPECT_EQ(contents.headers(), (std::vector<std::string> { "A", "B" }));
    EXPECT_EQ(contents.indexTitles.front(), TableViewIndexSearch);
    EXPECT_EQ(contents.find("Baker"), IndexPath::forRow(0, 1));
    EXPECT_EQ(contents.rowCount(), 3);
}

TEST_F(TableCheckerTest, DataChangedWithoutReloadIsCaught)
{
    table->layoutIfNeeded();
    names.sections[1].push_back("Brown");
    EXPECT_NONFATAL_FAILURE(testsupport::checkTable(*table), "reloadData missing");
    table->reloadData();
    testsupport::checkTable(*table);
}

TEST_F(TableCheckerTest, NegativeHeightsAndIndexEntriesLeadingNowhereAreCaught)
{
    names.negativeHeight = true;
    EXPECT_NONFATAL_FAILURE(testsupport::checkTable(*table), "row height of row 0:0");
    names.negativeHeight = false;
    names.indexTarget = 5;
    EXPECT_NONFATAL_FAILURE(testsupport::checkTable(*table), "leads to section");
}

TEST(TableChecker, TableWithoutADataSourceFails)
{
    TableView table(Rect { 0, 0, 320, 400 });
    EXPECT_NONFATAL_FAILURE(testsupport::checkTable(table), "no data source");
}

TEST_F(TableCheckerTest, LongListsAreCountedWholeButBuiltOnlyUpToTheLimit)
{
    names.sections = { std::vector<std::string>(30000, "Same"), { "Baker" } };
    table->reloadData();
    testsupport::TableCheckOptions options;
    options.cellLimit = 100;
    auto contents = testsupport::checkTable(*table, options);
    EXPECT_EQ(contents.rowCount(), 30001);
    EXPECT_TRUE(contents.sections[0].rows[99].built);
    EXPECT_FALSE(contents.sections[0].rows[100].built);
    EXPECT_FALSE(contents.find("Baker").has_value());
}
