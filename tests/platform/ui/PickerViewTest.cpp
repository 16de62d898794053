#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

// A colour wheel like the group editor's: one component of 45 rows 40 points high, the
// first a "none" row, the others views the picker may hand back for reuse.
class ColourWheel final : public PickerViewDataSource, public PickerViewDelegate {
public:
    int rows { 45 };
    std::vector<std::string> selections;
    int viewsMade { 0 };
    int viewsReused { 0 };
    std::vector<int> rowsBuilt;

    int numberOfComponentsInPickerView(PickerView&) override { return 1; }
    int numberOfRowsInComponent(PickerView&, int) override { return rows; }
    double rowHeightForComponent(PickerView&, int) override { return 40; }
    double widthForComponent(PickerView&, int) override { return 280; }
    std::shared_ptr<View> viewForRow(PickerView&, int row, int, std::shared_ptr<View> reusing) override
    {
        rowsBuilt.push_back(row);
        auto label = std::dynamic_pointer_cast<Label>(reusing);
        if (label) {
            ++viewsReused;
        } else {
            label = std::make_shared<Label>(Rect { 0, 0, 240, 30 });
            ++viewsMade;
        }
        label->setText(row == 0 ? "None" : "colour " + std::to_string(row - 1));
        return label;
    }
    void didSelectRow(PickerView&, int row, int component) override
    {
        selections.push_back(std::to_string(component) + ":" + std::to_string(row));
    }
};

// Two components of plain titles.
class Clock final : public PickerViewDataSource, public PickerViewDelegate {
public:
    std::vector<std::string> selections;
    int numberOfComponentsInPickerView(PickerView&) override { return 2; }
    int numberOfRowsInComponent(PickerView&, int component) override { return component == 0 ? 24 : 60; }
    std::string titleForRow(PickerView&, int row, int component) override
    {
        return (component == 0 ? "h" : "m") + std::to_string(row);
    }
    void didSelectRow(PickerView&, int row, int component) override
    {
        selections.push_back(std::to_string(component) + ":" + std::to_string(row));
    }
};

struct PickerViewTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<PickerView> picker = std::make_shared<PickerView>();

    void SetUp() override
    {
        window->makeKeyAndVisible();
        picker->setFrame({ 0, 352, 320, PickerView::naturalHeight });
        window->addSubview(picker);
    }
    // The window point of the middle of a row `offset` rows from the chosen one.
    Point rowPoint(int component, int offset, double rowHeight)
    {
        Rect wheel = picker->frameOfComponent(component);
        double y = (picker->bounds().height() - rowHeight) / 2 + offset * rowHeight + rowHeight / 2;
        return picker->convertPointToView({ wheel.midX(), y }, nullptr);
    }
};

} // namespace

TEST_F(PickerViewTest, OnlyRowsInSightAreBuiltAndTheirViewsComeBackForReuse)
{
    ColourWheel wheel;
    picker->setDataSource(&wheel);
    picker->setDelegate(&wheel);
    picker->selectRow(12, 0, false);
    window->layoutIfNeeded();
    // 216 points of 40-point rows around the chosen one: rows 9 to 15 reach into sight.
    EXPECT_LE(wheel.viewsMade, 8);
    ASSERT_NE(picker->viewForRow(12, 0), nullptr);
    EXPECT_EQ(picker->viewForRow(12, 0)->displayText(), "colour 11");
    EXPECT_EQ(picker->viewForRow(30, 0), nullptr);
    // The row's own size is kept, centred in its band.
    EXPECT_EQ(picker->viewForRow(12, 0)->frame().size, (Size { 240, 30 }));

    int made = wheel.viewsMade;
    picker->selectRow(40, 0, true);
    EXPECT_EQ(wheel.viewsMade, made);
    EXPECT_GT(wheel.viewsReused, 0);
    EXPECT_TRUE(wheel.selections.empty());
}

TEST_F(PickerViewTest, TouchesChooseRowsAndTellTheDelegateButCodeDoesNot)
{
    ColourWheel wheel;
    picker->setDataSource(&wheel);
    picker->setDelegate(&wheel);
    picker->selectRow(0, 0, false);
    window->layoutIfNeeded();

    window->tap(rowPoint(0, 2, 40));
    EXPECT_EQ(wheel.selections, (std::vector<std::string> { "0:2" }));
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);
    // The chosen row again: nothing new.
    window->tap(rowPoint(0, 0, 40));
    EXPECT_EQ(wheel.selections.size(), 1u);

    // A drag of three rows upwards turns the wheel to the row three further on.
    Point start = rowPoint(0, 0, 40);
    window->touchBegan(start);
    window->touchMoved({ start.x, start.y - 60 });
    window->touchMoved({ start.x, start.y - 120 });
    window->touchEnded({ start.x, start.y - 120 });
    EXPECT_EQ(wheel.selections.back(), "0:5");

    // The wheel stops at its ends.
    picker->selectRow(44, 0, false);
    start = rowPoint(0, 0, 40);
    window->touchBegan(start);
    window->touchMoved({ start.x, start.y - 200 });
    window->touchEnded({ start.x, start.y - 200 });
    EXPECT_EQ(picker->selectedRowInComponent(0), 44);

    picker->selectRow(99, 0, false);
    picker->selectRow(-1, 0, false);
    EXPECT_EQ(picker->selectedRowInComponent(0), 44);
}

TEST_F(PickerViewTest, ComponentsShareTheWidthAndAShrunkComponentKeepsItsChoiceInRange)
{
    Clock clock;
    picker->setDataSource(&clock);
    picker->setDelegate(&clock);
    window->layoutIfNeeded();
    ASSERT_EQ(picker->numberOfComponents(), 2);
    EXPECT_EQ(picker->frameOfComponent(0).width(), picker->frameOfComponent(1).width());
    EXPECT_EQ(picker->viewForRow(0, 1)->displayText(), "m0");

    window->tap(rowPoint(1, 1, PickerView::defaultRowHeight));
    EXPECT_EQ(clock.selections, (std::vector<std::string> { "1:1" }));
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);

    picker->selectRow(23, 0, false);
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), 23);
    EXPECT_EQ(picker->selectedRowInComponent(5), -1);
}
