#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace ui;

namespace {

// Follows the scroll view as the how-to-use pages do: the page under the offset, and
// every call in order.
class PageFollower final : public ScrollViewDelegate {
public:
    std::vector<std::string> events;
    std::vector<double> offsets;

    void scrollViewDidScroll(ScrollView& view) override { offsets.push_back(view.contentOffset().x); }
    void scrollViewWillBeginDragging(ScrollView&) override { events.push_back("willBeginDragging"); }
    void scrollViewDidEndDragging(ScrollView&, bool decelerate) override
    {
        events.push_back(decelerate ? "didEndDragging decelerating" : "didEndDragging");
    }
    void scrollViewWillBeginDecelerating(ScrollView&) override { events.push_back("willBeginDecelerating"); }
    void scrollViewDidEndDecelerating(ScrollView& view) override
    {
        events.push_back("didEndDecelerating at " + std::to_string(int(view.contentOffset().x)));
    }
    void scrollViewDidEndScrollingAnimation(ScrollView& view) override
    {
        events.push_back("didEndScrollingAnimation at " + std::to_string(int(view.contentOffset().x)));
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }
};

struct ScrollViewTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<ScrollView> pages = std::make_shared<ScrollView>(Rect { 0, 44, 320, 396 });
    PageFollower follower;
    using Events = std::vector<std::string>;

    void SetUp() override
    {
        window->makeKeyAndVisible();
        pages->setContentSize({ 4 * 320, 396 });
        pages->setPagingEnabled(true);
        pages->setDelegate(&follower);
        window->addSubview(pages);
    }
    void TearDown() override { pages->setDelegate(nullptr); }
    void drag(double fromX, double toX)
    {
        window->touchBegan({ fromX, 200 });
        window->touchMoved({ (fromX + toX) / 2, 200 });
        window->touchMoved({ toX, 200 });
        window->touchEnded({ toX, 200 });
    }
};

} // namespace

TEST_F(ScrollViewTest, APagingDragSettlesOnTheNextPageOverTheClock)
{
    drag(300, 150);
    EXPECT_EQ(follower.take(), (Events { "willBeginDragging", "didEndDragging decelerating", "willBeginDecelerating" }));
    EXPECT_TRUE(pages->isDecelerating());
    double halfWay = pages->contentOffset().x;
    EXPECT_LT(halfWay, 320);
    follower.offsets.clear();
    time.advance(ScrollView::scrollAnimationDuration);
    EXPECT_EQ(pages->contentOffset().x, 320);
    EXPECT_EQ(follower.take(), (Events { "didEndDecelerating at 320" }));
    // The offset moved there in steps, each one told.
    EXPECT_GT(follower.offsets.size(), 5u);
    EXPECT_TRUE(std::is_sorted(follower.offsets.begin(), follower.offsets.end()));

    // A short drag back to the left still turns the page; the first page is as far as it goes.
    drag(100, 180);
    time.advance(1);
    EXPECT_EQ(pages->contentOffset().x, 0);
    drag(100, 200);
    time.advance(1);
    EXPECT_EQ(pages->contentOffset().x, 0);
}

TEST_F(ScrollViewTest, ATouchThatHardlyMovesIsNoDrag)
{
    window->touchBegan({ 200, 200 });
    window->touchMoved({ 204, 202 });
    window->touchEnded({ 204, 202 });
    EXPECT_TRUE(follower.take().empty());
    EXPECT_EQ(pages->contentOffset().x, 0);
}

TEST_F(ScrollViewTest, ScrollingToARectangleMovesTheLeastAndAnimatedOnesReportTheirEnd)
{
    auto list = std::make_shared<ScrollView>(Rect { 0, 0, 320, 400 });
    list->setContentSize({ 320, 2000 });
    window->addSubview(list);
    list->scrollRectToVisible({ 0, 500, 320, 44 }, false);
    EXPECT_EQ(list->contentOffset().y, 144);
    list->scrollRectToVisible({ 0, 300, 320, 44 }, false);
    EXPECT_EQ(list->contentOffset().y, 144);
    list->scrollRectToVisible({ 0, 20, 320, 44 }, false);
    EXPECT_EQ(list->contentOffset().y, 20);
    // Never past the end of the content.
    list->scrollRectToVisible({ 0, 1990, 320, 44 }, false);
    EXPECT_EQ(list->contentOffset().y, 1600);

    pages->scrollRectToVisible({ 640, 0, 320, 396 }, true);
    EXPECT_TRUE(pages->isScrollAnimating());
    time.advance(ScrollView::scrollAnimationDuration / 2);
    EXPECT_GT(pages->contentOffset().x, 0);
    EXPECT_LT(pages->contentOffset().x, 640);
    time.advance(ScrollView::scrollAnimationDuration);
    EXPECT_EQ(follower.take(), (Events { "didEndScrollingAnimation at 640" }));
    EXPECT_FALSE(pages->isScrollAnimating());

    // A new scroll replaces the one under way.
    pages->setContentOffset({ 960, 0 }, true);
    pages->setContentOffset({ 0, 0 }, false);
    time.advance(1);
    EXPECT_EQ(pages->contentOffset().x, 0);
    EXPECT_TRUE(follower.take().empty());
}

TEST_F(ScrollViewTest, APageControlTurnsOnePageTowardsTheTouchAndSaysSo)
{
    auto dots = std::make_shared<PageControl>(Rect { 0, 440, 320, 20 });
    dots->setNumberOfPages(4);
    window->addSubview(dots);
    int changes = 0;
    dots->addAction(ControlEvent::ValueChanged, [&](Control&) { ++changes; });

    window->tap({ 300, 450 });
    EXPECT_EQ(dots->currentPage(), 1);
    window->tap({ 300, 450 });
    EXPECT_EQ(dots->currentPage(), 2);
    window->tap({ 20, 450 });
    EXPECT_EQ(dots->currentPage(), 1);
    EXPECT_EQ(changes, 3);

    // At the ends there is nowhere to go, and nothing is said.
    dots->setCurrentPage(0);
    window->tap({ 20, 450 });
    EXPECT_EQ(dots->currentPage(), 0);
    EXPECT_EQ(changes, 3);
    dots->setNumberOfPages(2);
    dots->setCurrentPage(7);
    EXPECT_EQ(dots->currentPage(), 1);
}
