#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

struct AnimationTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<View> panel = std::make_shared<View>(Rect { 0, 568, 320, 568 });
    AnimationTest() { window->addSubview(panel); }
};

} // namespace

TEST_F(AnimationTest, ChangesApplyAtOnceAndTheCompletionRunsWhenTheDurationHasPassed)
{
    bool finished = false;
    View::animate(0.4, [&] { panel->setFrame({ 0, 0, 320, 568 }); }, [&](bool done) { finished = done; });
    EXPECT_EQ(panel->frame().y(), 0);
    EXPECT_TRUE(window->hasRunningAnimations());
    time.advance(0.2);
    EXPECT_FALSE(finished);
    double halfway = panel->presentationFrame().y();
    EXPECT_GT(halfway, 0);
    EXPECT_LT(halfway, 568);
    time.advance(0.2);
    EXPECT_TRUE(finished);
    EXPECT_EQ(panel->presentationFrame().y(), 0);
    EXPECT_FALSE(window->hasRunningAnimations());
}

TEST_F(AnimationTest, CompletionsComeInTheOrderTheAnimationsEnd)
{
    std::vector<std::string> order;
    View::animate(0.4, [&] { panel->setAlpha(0.5); }, [&](bool) { order.push_back("slow"); });
    View::animate(0.1, [&] {}, [&](bool) { order.push_back("fast"); });
    View::animate(0.2, 0.3, [&] {}, [&](bool) { order.push_back("delayed"); });
    View::animate(0, [&] {}, [&](bool) { order.push_back("instant"); });
    EXPECT_TRUE(order.empty());
    time.advance(1);
    EXPECT_EQ(order, (std::vector<std::string> { "instant", "fast", "slow", "delayed" }));
}

TEST_F(AnimationTest, AChangeOutsideAnAnimationStopsTheMovementOnScreen)
{
    View::animate(0.4, [&] { panel->setFrame({ 0, 0, 320, 568 }); });
    time.advance(0.1);
    panel->setFrame({ 0, 100, 320, 568 });
    EXPECT_EQ(panel->presentationFrame().y(), 100);
    EXPECT_FALSE(panel->hasRunningAnimations());
}

TEST_F(AnimationTest, AutoresizingFollowsTheSuperviewsNewSize)
{
    auto bar = std::make_shared<View>(Rect { 0, 524, 320, 44 });
    bar->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleTopMargin);
    auto body = std::make_shared<View>(Rect { 0, 0, 320, 524 });
    body->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    auto centred = std::make_shared<View>(Rect { 142, 266, 36, 36 });
    centred->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin | AutoresizingMask::FlexibleRightMargin
                                 | AutoresizingMask::FlexibleTopMargin | AutoresizingMask::FlexibleBottomMargin);
    panel->addSubview(bar);
    panel->addSubview(body);
    panel->addSubview(centred);
    panel->setFrame({ 0, 0, 320, 480 });
    EXPECT_EQ(bar->frame(), (Rect { 0, 436, 320, 44 }));
    EXPECT_EQ(body->frame(), (Rect { 0, 0, 320, 436 }));
    EXPECT_EQ(centred->frame().center(), (Point { 160, 240 }));
}
