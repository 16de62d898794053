#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

struct HitTestTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 480 });
    std::shared_ptr<View> content = std::make_shared<View>(Rect { 0, 20, 320, 460 });
    std::shared_ptr<Button> button = std::make_shared<Button>(ButtonType::Custom, Rect { 10, 10, 100, 40 });
    std::shared_ptr<View> cover = std::make_shared<View>(Rect { 0, 0, 200, 100 });
    int taps = 0;

    HitTestTest()
    {
        window->addSubview(content);
        content->addSubview(button);
        content->addSubview(cover);
        button->addAction(ControlEvent::TouchUpInside, [this](Control&) { ++taps; });
    }
};

} // namespace

TEST_F(HitTestTest, TopmostViewTakesTheTouchUntilItStepsAside)
{
    Point onButton { 50, 50 };
    EXPECT_EQ(window->hitTest(onButton), cover.get());

    struct Case {
        const char* name;
        std::function<void()> stepAside;
        std::function<void()> undo;
    };
    std::vector<Case> cases {
        { "hidden", [&] { cover->setHidden(true); }, [&] { cover->setHidden(false); } },
        { "transparent", [&] { cover->setAlpha(0); }, [&] { cover->setAlpha(1); } },
        { "not interactive", [&] { cover->setUserInteractionEnabled(false); }, [&] { cover->setUserInteractionEnabled(true); } },
    };
    for (auto& c : cases) {
        c.stepAside();
        EXPECT_EQ(window->hitTest(onButton), button.get()) << c.name;
        c.undo();
    }
    // A label lets touches through by nature.
    auto label = std::make_shared<Label>(Rect { 0, 0, 320, 460 });
    cover->setHidden(true);
    content->addSubview(label);
    EXPECT_EQ(window->hitTest(onButton), button.get());
}

TEST_F(HitTestTest, DisabledControlAndHiddenAncestorPassTouchesDown)
{
    cover->removeFromSuperview();
    Point onButton { 50, 50 };
    button->setEnabled(false);
    EXPECT_EQ(window->hitTest(onButton), content.get());
    window->tap(onButton);
    EXPECT_EQ(taps, 0);

    button->setEnabled(true);
    content->setHidden(true);
    EXPECT_EQ(window->hitTest(onButton), window.get());
}

TEST_F(HitTestTest, SubviewsOutsideTheirSuperviewAreNotHit)
{
    cover->removeFromSuperview();
    content->setFrame({ 0, 20, 200, 460 });
    button->setFrame({ 180, 10, 100, 40 });
    // The part of the button beyond the content's right edge belongs to nobody in it.
    EXPECT_EQ(window->hitTest({ 230, 50 }), window.get());
    EXPECT_EQ(window->hitTest({ 190, 50 }), button.get());
}

TEST_F(HitTestTest, ButtonFiresOnLiftInsideNotAfterDraggingAway)
{
    cover->removeFromSuperview();
    window->touchBegan({ 50, 50 });
    EXPECT_TRUE(button->isHighlighted());
    window->touchMoved({ 300, 400 });
    EXPECT_FALSE(button->isHighlighted());
    window->touchEnded({ 300, 400 });
    EXPECT_EQ(taps, 0);

    window->touchBegan({ 50, 50 });
    window->touchMoved({ 60, 55 });
    window->touchEnded({ 60, 55 });
    EXPECT_EQ(taps, 1);
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(HitTestTest, ViewRemovedDuringItsTouchGetsNoMoreEvents)
{
    cover->removeFromSuperview();
    window->touchBegan({ 50, 50 });
    button->removeFromSuperview();
    window->touchEnded({ 50, 50 });
    EXPECT_EQ(taps, 0);
}

TEST_F(HitTestTest, ScrolledBoundsShiftWhereSubviewsAreHit)
{
    cover->removeFromSuperview();
    content->setBounds({ 0, 30, 320, 460 });
    EXPECT_EQ(window->hitTest({ 50, 50 }), content.get());
    EXPECT_EQ(window->hitTest({ 50, 25 }), button.get());
    EXPECT_EQ(button->convertPointToView({ 0, 0 }, nullptr), (Point { 10, 0 }));
}
