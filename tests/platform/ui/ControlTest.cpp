#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SimpleTextMeasurer.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(Control, ActionsCanRemoveThemselvesOrTheControlWhileTheyRun)
{
    auto window = std::make_shared<Window>(Rect { 0, 0, 320, 480 });
    auto button = std::make_shared<Button>(ButtonType::Custom, Rect { 0, 0, 100, 44 });
    window->addSubview(button);
    std::vector<std::string> calls;
    Control::ActionId second = 0;
    button->addAction(ControlEvent::TouchUpInside, [&](Control& sender) {
        calls.push_back("first");
        sender.removeAction(second);
    });
    second = button->addAction(ControlEvent::TouchUpInside, [&](Control&) { calls.push_back("second"); });
    button->addAction(ControlEvent::TouchUpInside | ControlEvent::TouchDown, [&](Control& sender) {
        calls.push_back("third");
        sender.removeFromSuperview();
    });
    Button* raw = button.get();
    button.reset();
    raw->sendActionsForControlEvents(ControlEvent::TouchUpInside);
    EXPECT_EQ(calls, (std::vector<std::string> { "first", "third" }));
    EXPECT_TRUE(window->subviews().empty());
}

TEST(Control, RemovingActionsByEventLeavesTheOthers)
{
    Button button(ButtonType::Custom);
    int moved = 0;
    int tapped = 0;
    button.addAction(ControlEvent::TouchUpInside, [&](Control&) { ++moved; });
    button.removeActions(ControlEvent::TouchUpInside);
    button.addAction(ControlEvent::TouchUpInside, [&](Control&) { ++tapped; });
    button.addAction(ControlEvent::ValueChanged, [&](Control&) { ++tapped; });
    button.removeActions(ControlEvent::ValueChanged);
    button.sendActionsForControlEvents(ControlEvent::TouchUpInside | ControlEvent::ValueChanged);
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(tapped, 1);
    EXPECT_TRUE(button.hasActions(ControlEvent::TouchUpInside));
    EXPECT_FALSE(button.hasActions(ControlEvent::ValueChanged));
}

TEST(Control, BarItemDroppedByItsScreenIsNoLongerTriggered)
{
    int triggered = 0;
    auto item = std::make_shared<BarButtonItem>("Send", BarButtonItemStyle::Done, [&](BarButtonItem&) { ++triggered; });
    item->trigger();
    item->setEnabled(false);
    item->trigger();
    EXPECT_EQ(triggered, 1);
    item->setEnabled(true);
    auto itemOwnedAction = std::make_shared<BarButtonItem>("Drop", BarButtonItemStyle::Plain, nullptr);
    std::weak_ptr<BarButtonItem> weak = itemOwnedAction;
    itemOwnedAction->setAction([&](BarButtonItem&) { itemOwnedAction.reset(); });
    itemOwnedAction->trigger();
    EXPECT_TRUE(weak.expired());
}

TEST(Control, IndicatorIsHiddenWhileStoppedAndMovesWhileSpinning)
{
    ActivityIndicatorView spinner(ActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_EQ(spinner.frame().size, (Size { 37, 37 }));
    EXPECT_TRUE(spinner.isHidden());
    spinner.startAnimating();
    EXPECT_FALSE(spinner.isHidden());
    EXPECT_TRUE(spinner.hasRunningAnimations());
    spinner.stopAnimating();
    EXPECT_TRUE(spinner.isHidden());
    EXPECT_FALSE(spinner.hasRunningAnimations());
    spinner.setHidesWhenStopped(false);
    EXPECT_FALSE(spinner.isHidden());
}

TEST(TextMeasure, LinesBreakAtSpacesWithinTheWidthAndStopAtTheLineLimit)
{
    SimpleTextMeasurer measurer;
    Font font = Font::systemFontOfSize(10);
    struct Case {
        const char* text;
        double maxWidth;
        int lines;
        Size expected;
    };
    const Case cases[] = {
        { "abcd", 0, 1, { 20, 12 } },
        { "グループ", 0, 1, { 40, 12 } },
        { "ab cd ef", 30, 0, { 30, 24 } },
        { "ab cd ef", 30, 1, { 30, 12 } },
        { "one\ntwo\nthree", 0, 0, { 25, 36 } },
        { "abcdefghij", 20, 0, { 20, 36 } },
        { "", 0, 1, { 0, 12 } },
        { "\xff\xfe", 0, 1, { 10, 12 } },
    };
    for (const auto& c : cases) {
        auto size = measurer.measure(c.text, font, c.maxWidth, c.lines);
        EXPECT_DOUBLE_EQ(size.width, c.expected.width) << c.text;
        EXPECT_DOUBLE_EQ(size.height, c.expected.height) << c.text;
    }
}

TEST(TextMeasure, LabelFitsItsTextAndShrinksOnlyWhenAllowed)
{
    Label label;
    label.setFont(Font::systemFontOfSize(20));
    label.setText("Groups");
    label.sizeToFit();
    EXPECT_EQ(label.frame().size, (Size { 60, 24 }));
    EXPECT_EQ(label.textStyle().minimumScaleFactor, 0);
    label.setAdjustsFontSizeToFitWidth(true);
    EXPECT_EQ(label.textStyle().minimumScaleFactor, 0.5);
    label.setMinimumFontSize(15);
    EXPECT_DOUBLE_EQ(label.textStyle().minimumScaleFactor, 0.75);
}
