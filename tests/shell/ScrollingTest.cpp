// Dragging, flicking, swiping and wheeling lists through the pointer: a drag scrolls the
// list under it even when it began on a control in a row (which then is not tapped), a
// flick glides on and comes to rest inside the content, a sideways swipe offers Delete,
// and the wheel scrolls what is under the pointer.

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/Window.h"
#include "shell/qt/TouchRouter.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;
using tessaro::TouchRouter;

namespace {

// A hundred rows of 44 points, each with a menu button at its right end.
class Rows final : public TableViewDataSource, public TableViewDelegate {
public:
    int numberOfRowsInSection(TableView&, int) override { return 100; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& indexPath) override
    {
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "row");
            auto menu = std::make_shared<Button>(ButtonType::Custom, Rect { 250, 0, 60, 44 });
            menu->setTag(7);
            cell->contentView().addSubview(menu);
        }
        auto* menu = static_cast<Button*>(cell->contentView().viewWithTag(7));
        menu->removeActions(ControlEvent::TouchUpInside);
        int row = indexPath.row;
        menu->addAction(ControlEvent::TouchUpInside, [this, row](Control&) { menuTaps.push_back(row); });
        cell->textLabel().setText("Person " + std::to_string(row));
        return cell;
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override { selected.push_back(indexPath.row); }

    std::vector<int> menuTaps;
    std::vector<int> selected;
};

struct ScrollingTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect { 0, 64, 320, 440 });
    Rows rows;
    TouchRouter router { *window };

    ScrollingTest()
    {
        table->setDataSource(&rows);
        table->setDelegate(&rows);
        window->addSubview(table);
        window->makeKeyAndVisible();
        table->reloadData();
        window->layoutIfNeeded();
    }
    ~ScrollingTest() override
    {
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
    }

    // A drag in even steps of 10 points, each a sixtieth of a second apart.
    void drag(Point from, Point to, double seconds = 0.5)
    {
        router.press(from);
        int steps = std::max(2, int(std::hypot(to.x - from.x, to.y - from.y) / 10));
        for (int i = 1; i <= steps; ++i) {
            time.advance(seconds / steps);
            double t = double(i) / steps;
            router.move({ from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t });
        }
        router.release(to);
    }
};

} // namespace

// The list follows the finger, less the wobble it waits for before taking a touch as a drag.
::testing::AssertionResult followed(double offset, double dragged)
{
    if (offset <= dragged && offset >= dragged - 2 * ScrollView::dragThreshold)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "scrolled " << offset << " for a drag of " << dragged;
}

TEST_F(ScrollingTest, DragScrollsTheListWithoutSelectingOrTapping)
{
    drag({ 100, 400 }, { 100, 200 }, 2.0);
    double dragged = table->contentOffset().y;
    EXPECT_TRUE(followed(dragged, 200));
    EXPECT_TRUE(rows.selected.empty());
    time.advance(2);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, dragged) << "a slow drag does not glide";

    // Begun on a row's menu button: the list takes the drag, the button is not tapped.
    drag({ 280, 400 }, { 280, 300 }, 2.0);
    EXPECT_TRUE(followed(table->contentOffset().y - dragged, 100));
    EXPECT_TRUE(rows.menuTaps.empty());
    window->layoutIfNeeded();
    for (const auto& cell : table->subviews()) {
        if (auto* menu = cell->viewWithTag(7))
            EXPECT_FALSE(static_cast<Button*>(menu)->isHighlighted());
    }

    // A still press on the button is still a tap, of the row's own button.
    router.press({ 280, 64 + 22 });
    router.release({ 280, 64 + 22 });
    ASSERT_EQ(rows.menuTaps.size(), 1u);
    EXPECT_EQ(rows.menuTaps[0], int((table->contentOffset().y + 22) / 44));
}

TEST_F(ScrollingTest, FlickGlidesOnSlowsDownAndStopsInsideTheContent)
{
    drag({ 100, 450 }, { 100, 250 }, 0.2);
    double lifted = table->contentOffset().y;
    EXPECT_TRUE(followed(lifted, 200));
    ASSERT_TRUE(router.isGliding());
    time.advance(0.1);
    double early = table->contentOffset().y - lifted;
    EXPECT_GT(early, 50) << "about a thousand points a second at first";
    time.advance(0.1);
    double later = table->contentOffset().y - lifted - early;
    EXPECT_GT(later, 0);
    EXPECT_LT(later, early) << "and slower and slower";
    time.advance(5);
    EXPECT_FALSE(router.isGliding());
    double rest = table->contentOffset().y;
    EXPECT_GT(rest, lifted + 300);

    // A finger that stops before it lifts does not fling the list.
    router.press({ 100, 450 });
    for (int i = 1; i <= 10; ++i) {
        time.advance(0.01);
        router.move({ 100, 450 - 20.0 * i });
    }
    time.advance(0.3);
    router.release({ 100, 250 });
    EXPECT_FALSE(router.isGliding());

    // A flick towards the end stops at the end.
    for (int i = 0; i < 8 && table->contentOffset().y < table->maximumContentOffset().y; ++i) {
        drag({ 100, 500 }, { 100, 100 }, 0.1);
        time.advance(5);
    }
    EXPECT_DOUBLE_EQ(table->contentOffset().y, table->maximumContentOffset().y);

    // A finger on a gliding list stops it and is no tap.
    drag({ 100, 100 }, { 100, 500 }, 0.1);
    ASSERT_TRUE(router.isGliding());
    time.advance(0.05);
    router.press({ 100, 300 });
    double stopped = table->contentOffset().y;
    time.advance(1);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, stopped);
    router.release({ 100, 300 });
}

TEST_F(ScrollingTest, SidewaysSwipeOverARowOffersDeleteEvenFromItsButton)
{
    drag({ 200, 64 + 44 + 22 }, { 100, 64 + 44 + 22 }, 0.3);
    ASSERT_TRUE(table->indexPathForDeleteConfirmation());
    EXPECT_EQ(table->indexPathForDeleteConfirmation()->row, 1);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, 0) << "a swipe does not scroll";
    table->hideDeleteConfirmation();

    drag({ 290, 64 + 2 * 44 + 22 }, { 190, 64 + 2 * 44 + 22 }, 0.3);
    ASSERT_TRUE(table->indexPathForDeleteConfirmation());
    EXPECT_EQ(table->indexPathForDeleteConfirmation()->row, 2);
    EXPECT_TRUE(rows.menuTaps.empty());
}

TEST_F(ScrollingTest, WheelScrollsWhatIsUnderThePointerWithinItsContent)
{
    router.wheel({ 100, 300 }, 0, 132);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, 132);
    router.wheel({ 100, 300 }, 0, -1000);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, table->minimumContentOffset().y);
    router.wheel({ 100, 30 }, 0, 132);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, table->minimumContentOffset().y) << "the pointer is above the list";
    router.wheel({ 100, 300 }, 0, 1e6);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, table->maximumContentOffset().y);

    // Pages turn one at a time, also for a vertical wheel over pages laid side by side.
    auto pages = std::make_shared<ScrollView>(Rect { 0, 0, 320, 60 });
    pages->setContentSize({ 320 * 4, 60 });
    pages->setPagingEnabled(true);
    window->addSubview(pages);
    router.wheel({ 100, 30 }, 0, 132);
    time.advance(1);
    EXPECT_DOUBLE_EQ(pages->contentOffset().x, 320);
    router.wheel({ 100, 30 }, 0, -132);
    time.advance(1);
    EXPECT_DOUBLE_EQ(pages->contentOffset().x, 0);
    router.wheel({ 100, 30 }, 0, -132);
    time.advance(1);
    EXPECT_DOUBLE_EQ(pages->contentOffset().x, 0) << "no page before the first";
}
