#include "platform/foundation/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"
#include "support/TableChecker.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace ui;

namespace {

struct Row {
    std::string text;
    double height { 44 };
    bool editable { true };
    bool movable { true };
    TableViewCellEditingStyle style { TableViewCellEditingStyle::Delete };
};

struct Section {
    std::string title;
    std::vector<Row> rows;
    double headerHeight { TableViewAutomaticDimension };
};

std::vector<Row> rows(int count, const std::string& prefix = "r")
{
    std::vector<Row> made;
    for (int i = 0; i < count; ++i)
        made.push_back({ prefix + std::to_string(i) });
    return made;
}

// A list screen in miniature: its data is a plain table of sections and rows, and it writes
// every call the table makes that a screen reacts to into a journal.
class ScriptedList : public TableViewDataSource, public TableViewDelegate {
public:
    std::vector<Section> sections;
    std::vector<std::string> index;
    std::vector<IndexPath> cellRequests;
    int cellsMade { 0 };
    std::vector<std::string> events;
    std::optional<IndexPath> refusedRow;
    std::optional<IndexPath> movesRedirectedTo;
    std::shared_ptr<View> searchHeader;

    // Rows outside the list answer as a blank row, as the shared checker expects of screens.
    Row& at(const IndexPath& p)
    {
        static Row outside;
        if (p.section < 0 || p.section >= int(sections.size()) || p.row < 0 || p.row >= int(sections[std::size_t(p.section)].rows.size()))
            return outside = Row {};
        return sections[std::size_t(p.section)].rows[std::size_t(p.row)];
    }
    bool hasSection(int section) const { return section >= 0 && section < int(sections.size()); }

    int numberOfSectionsInTableView(TableView&) override { return int(sections.size()); }
    int numberOfRowsInSection(TableView&, int section) override
    {
        return hasSection(section) ? int(sections[std::size_t(section)].rows.size()) : 0;
    }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& p) override
    {
        cellRequests.push_back(p);
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "row");
            ++cellsMade;
        }
        cell->textLabel().setText(at(p).text);
        return cell;
    }
    std::string titleForHeaderInSection(TableView&, int section) override
    {
        return hasSection(section) ? sections[std::size_t(section)].title : std::string();
    }
    std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override { return index; }
    int sectionForSectionIndexTitle(TableView& table, const std::string& title, int position) override
    {
        events.push_back("index " + title);
        if (title == TableViewIndexSearch) {
            if (searchHeader)
                table.scrollRectToVisible(searchHeader->frame(), false);
            return -1;
        }
        return position - 1;
    }
    bool canEditRowAtIndexPath(TableView&, const IndexPath& p) override { return at(p).editable; }
    bool canMoveRowAtIndexPath(TableView&, const IndexPath& p) override { return at(p).movable; }
    void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, const IndexPath& p) override
    {
        events.push_back(std::string(style == TableViewCellEditingStyle::Delete ? "commit delete " : "commit insert ") + p.toString());
        if (style != TableViewCellEditingStyle::Delete)
            return;
        auto& list = sections[std::size_t(p.section)].rows;
        list.erase(list.begin() + p.row);
        table.deleteRowsAtIndexPaths({ p }, TableViewRowAnimation::Fade);
    }
    void moveRowAtIndexPath(TableView&, const IndexPath& from, const IndexPath& to) override
    {
        events.push_back("move " + from.toString() + " -> " + to.toString());
        Row moved = at(from);
        auto& source = sections[std::size_t(from.section)].rows;
        source.erase(source.begin() + from.row);
        auto& target = sections[std::size_t(to.section)].rows;
        target.insert(target.begin() + to.row, moved);
    }

    double heightForRowAtIndexPath(TableView&, const IndexPath& p) override { return at(p).height; }
    double heightForHeaderInSection(TableView&, int section) override
    {
        return hasSection(section) ? sections[std::size_t(section)].headerHeight : TableViewAutomaticDimension;
    }
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& p) override
    {
        if (refusedRow == p)
            return std::nullopt;
        return p;
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& p) override { events.push_back("select " + p.toString()); }
    void didDeselectRowAtIndexPath(TableView&, const IndexPath& p) override { events.push_back("deselect " + p.toString()); }
    TableViewCellEditingStyle editingStyleForRowAtIndexPath(TableView&, const IndexPath& p) override { return at(p).style; }
    void willBeginEditingRowAtIndexPath(TableView&, const IndexPath& p) override { events.push_back("swipe " + p.toString()); }
    void didEndEditingRowAtIndexPath(TableView&, const IndexPath& p) override { events.push_back("swipe ends " + p.toString()); }
    IndexPath targetIndexPathForMoveFromRowAtIndexPath(TableView&, const IndexPath&, const IndexPath& proposed) override
    {
        return movesRedirectedTo.value_or(proposed);
    }

    std::vector<std::string> take() { return std::exchange(events, {}); }
};

std::string cellText(const std::shared_ptr<TableViewCell>& cell)
{
    return cell ? cell->textLabel().text() : "<no cell>";
}

struct TableViewTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect { 0, 0, 320, 460 });
    ScriptedList list;
    using Events = std::vector<std::string>;

    void SetUp() override
    {
        window->makeKeyAndVisible();
        window->addSubview(table);
    }
    void show(std::vector<Section> sections)
    {
        list.sections = std::move(sections);
        table->setDataSource(&list);
        table->setDelegate(&list);
        table->reloadData();
        window->layoutIfNeeded();
        list.cellRequests.clear();
    }
    // A finger sliding horizontally over the table, as the display reports it.
    void swipe(Point from, double dx)
    {
        window->touchBegan(from);
        window->touchMoved({ from.x + dx / 3, from.y });
        window->touchMoved({ from.x + dx, from.y });
        window->touchEnded({ from.x + dx, from.y });
    }
    int cellsInTable() const
    {
        int count = 0;
        for (auto& view : table->subviews())
            count += dynamic_cast<TableViewCell*>(view.get()) != nullptr;
        return count;
    }
};

} // namespace

TEST_F(TableViewTest, OnlyTheRowsInSightGetCellsEvenAmongFiftyThousand)
{
    list.sections = { { "", rows(50000) } };
    table->setDataSource(&list);
    table->setDelegate(&list);
    window->layoutIfNeeded();

    // 460 points of 44-point rows: rows 0 to 10 show.
    EXPECT_EQ(list.cellRequests.size(), 11u);
    EXPECT_EQ(table->contentSize().height, 50000 * 44.0);
    EXPECT_EQ(table->indexPathsForVisibleRows().back(), (IndexPath { 0, 10 }));

    list.cellRequests.clear();
    table->scrollToRowAtIndexPath({ 0, 25000 }, TableViewScrollPosition::Top, false);
    ASSERT_EQ(list.cellRequests.size(), 11u);
    EXPECT_EQ(list.cellRequests.front(), (IndexPath { 0, 25000 }));
    EXPECT_EQ(cellText(table->cellForRowAtIndexPath({ 0, 25003 })), "r25003");
    // The cells that went out of sight came back for the new rows.
    EXPECT_EQ(list.cellsMade, 11);
    EXPECT_EQ(table->indexPathForRowAtPoint({ 10, 25001 * 44.0 + 1 }), (IndexPath { 0, 25001 }));
    EXPECT_EQ(table->cellForRowAtIndexPath({ 0, 0 }), nullptr);
}

TEST_F(TableViewTest, RowsOfHeightZeroTakeNoSpaceGetNoCellAndTakeNoTouch)
{
    auto hidden = rows(6);
    hidden[1].height = 0;
    hidden[3].height = 0;
    hidden[4].height = 0;
    list.sections = { { "", hidden } };
    table->setDataSource(&list);
    table->setDelegate(&list);
    window->layoutIfNeeded();

    EXPECT_EQ(list.cellRequests, (std::vector<IndexPath> { { 0, 0 }, { 0, 2 }, { 0, 5 } }));
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 1 }), (Rect { 0, 44, 320, 0 }));
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 5 }).y(), 88);
    EXPECT_EQ(table->cellForRowAtIndexPath({ 0, 3 }), nullptr);
    EXPECT_EQ(table->indexPathForRowAtPoint({ 10, 44 }), (IndexPath { 0, 2 }));

    window->tap({ 100, 46 });
    EXPECT_EQ(list.take(), (Events { "select 0:2" }));

    // A filter that lets row 1 through again: it takes its place and pushes the rest down.
    list.sections[0].rows[1].height = 44;
    table->reloadData();
    EXPECT_EQ(cellText(table->cellForRowAtIndexPath({ 0, 1 })), "r1");
    EXPECT_EQ(table->cellForRowAtIndexPath({ 0, 2 })->frame().y(), 88);
}

TEST_F(TableViewTest, SectionHeadersHaveTheirTitleTheirHeightAndFloatWhileTheirRowsScroll)
{
    show({ { "A", rows(20, "a") }, { "", rows(2, "b") }, { "C", rows(20, "c") } });
    EXPECT_EQ(table->rectForHeaderInSection(0).height(), TableView::plainHeaderHeight);
    EXPECT_EQ(table->rectForHeaderInSection(1).height(), 0);
    auto header = table->headerViewForSection(0);
    ASSERT_NE(header, nullptr);
    ASSERT_FALSE(header->subviews().empty());
    EXPECT_EQ(header->subviews().front()->displayText(), "A");
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 0 }).y(), 22);

    list.sections[2].headerHeight = 24;
    list.sections[0].headerHeight = 0;
    table->reloadData();
    EXPECT_EQ(table->rectForHeaderInSection(2).height(), 24);
    EXPECT_EQ(table->rectForRowAtIndexPath({ 0, 0 }).y(), 0);
    EXPECT_EQ(table->headerViewForSection(0), nullptr);

    // In the middle of section 2 its header stays at the top of what shows...
    double sectionTop = table->rectForSection(2).y();
    table->setContentOffset({ 0, sectionTop + 100 });
    ASSERT_NE(table->headerViewForSection(2), nullptr);
    EXPECT_EQ(table->headerViewForSection(2)->frame().y(), sectionTop + 100);
    // ...and near the end of its rows it is pushed up with them.
    double rowsEnd = table->rectForRowAtIndexPath({ 2, 19 }).maxY();
    table->setContentOffset({ 0, rowsEnd - 10 });
    EXPECT_EQ(table->headerViewForSection(2)->frame().y(), rowsEnd - 24);
}

TEST_F(TableViewTest, SectionIndexEntriesLeadWhereTheDataSourceSays)
{
    auto search = std::make_shared<View>(Rect { 0, 0, 320, 44 });
    list.searchHeader = search;
    list.index = { TableViewIndexSearch, "A", "B", "C" };
    table->setTableHeaderView(search);
    show({ { "A", rows(20, "a") }, { "B", rows(20, "b") }, { "C", rows(20, "c") } });

    EXPECT_TRUE(table->selectSectionIndexEntry(2));
    EXPECT_EQ(list.take(), (Events { "index B" }));
    EXPECT_EQ(table->contentOffset().y, table->rectForSection(1).y());

    // The search symbol: the screen reveals its search bar and no section is chosen.
    EXPECT_TRUE(table->selectSectionIndexEntry(0));
    EXPECT_EQ(list.take(), (Events { "index " + TableViewIndexSearch }));
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_FALSE(table->selectSectionIndexEntry(4));

    // A finger on the index: four entries of 15 points centred in 460 start at y 200.
    window->tap({ 312, 200 + 3 * 15 + 5 });
    EXPECT_EQ(list.take(), (Events { "index C" }));
    EXPECT_EQ(table->contentOffset().y, table->rectForSection(2).y());
    // Rows narrow so the index does not lie over their accessories.
    EXPECT_EQ(table->cellForRowAtIndexPath(table->indexPathsForVisibleRows().front())->frame().width(),
              320 - TableView::sectionIndexWidth);
}

TEST_F(TableViewTest, TouchesSelectRowsThroughTheDelegateButDragsDoNot)
{
    show({ { "", rows(30) } });
    window->tap({ 100, 44 + 20 });
    EXPECT_EQ(list.take(), (Events { "select 0:1" }));
    EXPECT_TRUE(table->cellForRowAtIndexPath({ 0, 1 })->isSelected());

    window->tap({ 100, 88 + 20 });
    EXPECT_EQ(list.take(), (Events { "deselect 0:1", "select 0:2" }));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath { 0, 2 }));

    list.refusedRow = IndexPath { 0, 3 };
    window->tap({ 100, 132 + 20 });
    EXPECT_TRUE(list.take().empty());
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath { 0, 2 }));

    // Deselecting in code tells nobody.
    table->deselectRowAtIndexPath({ 0, 2 }, true);
    EXPECT_TRUE(list.take().empty());
    EXPECT_FALSE(table->cellForRowAtIndexPath({ 0, 2 })->isSelected());

    window->touchBegan({ 100, 300 });
    window->touchMoved({ 100, 250 });
    window->touchMoved({ 100, 200 });
    window->touchEnded({ 100, 200 });
    EXPECT_TRUE(list.take().empty());
    EXPECT_GT(table->contentOffset().y, 0);

    table->setEditing(true, false);
    window->tap({ 100, 300 });
    EXPECT_TRUE(list.take().empty());
}

TEST_F(TableViewTest, SwipeToDeleteCommitsThroughTheDataSourceAndTheRowFadesOut)
{
    show({ { "", rows(5) } });
    swipe({ 250, 44 + 22 }, -150);
    EXPECT_EQ(list.take(), (Events { "swipe 0:1" }));
    ASSERT_EQ(table->indexPathForDeleteConfirmation(), (IndexPath { 0, 1 }));
    Button* confirm = table->cellForRowAtIndexPath({ 0, 1 })->deleteConfirmationButton();
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(confirm->currentTitle(), "Delete");

    window->tap(confirm->convertPointToView(confirm->bounds().center(), nullptr));
    EXPECT_EQ(list.take(), (Events { "commit delete 0:1", "swipe ends 0:1" }));
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    // The rows below take their new places at once; the deleted one fades on the clock.
    EXPECT_EQ(cellText(table->cellForRowAtIndexPath({ 0, 1 })), "r2");
    EXPECT_EQ(table->cellForRowAtIndexPath({ 0, 1 })->frame().y(), 44);
    EXPECT_EQ(cellsInTable(), 5);
    time.advance(TableView::rowAnimationDuration);
    EXPECT_EQ(cellsInTable(), 4);

    // A row the screen does not let go offers nothing.
    list.sections[0].rows[2].editable = false;
    swipe({ 250, 88 + 22 }, -150);
    EXPECT_EQ(table->indexPathForDeleteConfirmation(), std::nullopt);
    EXPECT_FALSE(table->showDeleteConfirmationForRowAtIndexPath({ 0, 2 }));

    // A touch elsewhere only puts the button away.
    swipe({ 250, 22 }, -150);
    list.take();
    window->tap({ 100, 132 + 22 });
    EXPECT_EQ(list.take(), (Events { "swipe ends 0:0" }));
    EXPECT_EQ(table->indexPathForDeleteConfirmation(), std::nullopt);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
}

TEST_F(TableViewTest, EditingModeShowsEachRowsControlsAndMovesRowsWhereAllowed)
{
    auto movable = rows(5);
    movable[4].movable = false;
    movable[3].style = TableViewCellEditingStyle::Insert;
    show({ { "", movable } });
    EXPECT_FALSE(table->moveRowByUser({ 0, 0 }, { 0, 2 }));

    table->setEditing(true, false);
    auto first = table->cellForRowAtIndexPath({ 0, 0 });
    EXPECT_TRUE(first->isEditing());
    EXPECT_EQ(first->editingStyle(), TableViewCellEditingStyle::Delete);
    EXPECT_TRUE(first->showsReorderControl());
    EXPECT_FALSE(table->cellForRowAtIndexPath({ 0, 4 })->showsReorderControl());

    EXPECT_EQ(table->moveRowByUser({ 0, 0 }, { 0, 2 }), (IndexPath { 0, 2 }));
    EXPECT_EQ(list.take(), (Events { "move 0:0 -> 0:2" }));
    EXPECT_EQ(cellText(table->cellForRowAtIndexPath({ 0, 2 })), "r0");
    EXPECT_EQ(table->moveRowByUser({ 0, 4 }, { 0, 0 }), std::nullopt);
    EXPECT_EQ(table->moveRowByUser({ 0, 0 }, { 0, 99 }), (IndexPath { 0, 4 }));
    list.take();

    // Dragging a row's grip: from row 0 down past the middles of the next two rows.
    window->touchBegan({ 301, 22 });
    window->touchMoved({ 301, 80 });
    window->touchMoved({ 301, 140 });
    window->touchEnded({ 301, 140 });
    EXPECT_EQ(list.take(), (Events { "move 0:0 -> 0:2" }));

    list.movesRedirectedTo = IndexPath { 0, 1 };
    EXPECT_EQ(table->moveRowByUser({ 0, 0 }, { 0, 3 }), (IndexPath { 0, 1 }));
    EXPECT_EQ(list.take(), (Events { "move 0:0 -> 0:1" }));

    // The insert-style row (r3, moved to the top by now) commits an insertion from its control.
    ASSERT_EQ(list.sections[0].rows[0].text, "r3");
    window->tap({ 19, 22 });
    EXPECT_EQ(list.take(), (Events { "commit insert 0:0" }));
}

TEST_F(TableViewTest, AnUpdateTheDataSourceDoesNotMatchIsReloadedNotTrusted)
{
    show({ { "", rows(5) } });
    foundation::LogCapture log;
    auto& data = list.sections[0].rows;
    data.erase(data.begin(), data.begin() + 2);
    table->deleteRowsAtIndexPaths({ { 0, 0 } }, TableViewRowAnimation::Fade);
    EXPECT_TRUE(log.containsPrefix("table view: the data source's row counts do not match"));
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table->visibleCells().size(), 3u);

    table->deleteRowsAtIndexPaths({ { 0, 9 } }, TableViewRowAnimation::None);
    EXPECT_TRUE(log.containsPrefix("table view: deleting row 0:9"));
    EXPECT_EQ(table->visibleCells().size(), 3u);
}

TEST_F(TableViewTest, InsertedRowsPushVisibleCellsAndTheSelectionDown)
{
    show({ { "", rows(5) } });
    table->selectRowAtIndexPath(IndexPath { 0, 3 }, false, TableViewScrollPosition::None);
    auto& data = list.sections[0].rows;
    data.insert(data.begin() + 1, Row { "new" });
    table->insertRowsAtIndexPaths({ { 0, 1 } }, TableViewRowAnimation::Fade);
    EXPECT_EQ(cellText(table->cellForRowAtIndexPath({ 0, 1 })), "new");
    EXPECT_EQ(cellText(table->cellForRowAtIndexPath({ 0, 4 })), "r3");
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath { 0, 4 }));
}

TEST_F(TableViewTest, ReloadKeepsTheScrollWithinTheContentAndClearsTheSelection)
{
    show({ { "", rows(100) } });
    table->scrollToRowAtIndexPath({ 0, 99 }, TableViewScrollPosition::Bottom, false);
    table->selectRowAtIndexPath(IndexPath { 0, 98 }, false, TableViewScrollPosition::None);
    list.sections[0].rows.resize(3);
    table->reloadData();
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    EXPECT_EQ(table->visibleCells().size(), 3u);
}

TEST_F(TableViewTest, AListWithHiddenRowsHeadersAndAnIndexPassesTheSharedChecker)
{
    list.index = { TableViewIndexSearch, "A", "B" };
    auto a = rows(30, "a");
    a[4].height = 0;
    show({ { "A", a }, { "B", rows(3, "b") } });
    auto contents = testsupport::checkTable(*table);
    EXPECT_EQ(contents.headers(), (std::vector<std::string> { "A", "B" }));
    EXPECT_EQ(contents.rowTexts(1), (std::vector<std::string> { "b0", "b1", "b2" }));
    EXPECT_EQ(contents.find("a5"), (IndexPath { 0, 5 }));
}

namespace {

// A data source that forgets to make a cell for one row.
class ForgetfulList final : public ScriptedList {
public:
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& p) override
    {
        if (p.row == 2)
            return nullptr;
        return ScriptedList::cellForRowAtIndexPath(table, p);
    }
};

} // namespace

TEST_F(TableViewTest, ARowWithoutACellShowsBlankAndIsReported)
{
    ForgetfulList forgetful;
    forgetful.sections = { { "", rows(4) } };
    foundation::LogCapture log;
    table->setDataSource(&forgetful);
    table->setDelegate(&forgetful);
    window->layoutIfNeeded();
    EXPECT_TRUE(log.contains("table view: the data source gave no cell for row 0:2"));
    ASSERT_NE(table->cellForRowAtIndexPath({ 0, 2 }), nullptr);
    EXPECT_NONFATAL_FAILURE(testsupport::checkTable(*table), "no cell for row 0:2");
    table->setDataSource(nullptr);
    table->setDelegate(nullptr);
}

namespace {

// A form whose first row is one kept cell holding a text field, under the same reuse
// identifier as its other rows.
class FormList final : public ScriptedList {
public:
    std::shared_ptr<TableViewCell> nameCell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "row");
    std::shared_ptr<TextField> field = std::make_shared<TextField>(Rect { 10, 0, 280, 44 });

    FormList() { nameCell->contentView().addSubview(field); }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& p) override
    {
        if (p.row == 0)
            return nameCell;
        return ScriptedList::cellForRowAtIndexPath(table, p);
    }
};

} // namespace

TEST_F(TableViewTest, AFieldInAKeptRowKeepsTheKeyboardThroughReloadsAndItsCellServesNoOtherRow)
{
    FormList form;
    form.sections = { { "", rows(4) } };
    table->setDataSource(&form);
    table->setDelegate(&form);
    window->layoutIfNeeded();
    window->tap({ 100, 22 });
    ASSERT_EQ(window->firstResponder(), form.field.get());

    table->reloadData();
    table->reloadRowsAtIndexPaths({ { 0, 0 }, { 0, 1 } }, TableViewRowAnimation::None);
    EXPECT_EQ(window->firstResponder(), form.field.get());
    EXPECT_EQ(table->cellForRowAtIndexPath({ 0, 0 }), form.nameCell);
    for (int row = 1; row < 4; ++row)
        EXPECT_NE(table->cellForRowAtIndexPath({ 0, row }), form.nameCell) << row;
    EXPECT_EQ(cellsInTable(), 4);

    // Scrolled out of sight the row goes, and the keyboard with it.
    form.sections[0].rows = rows(40);
    table->reloadData();
    table->setContentOffset({ 0, 800 });
    EXPECT_EQ(window->firstResponder(), nullptr);
    table->setDataSource(nullptr);
    table->setDelegate(nullptr);
}
