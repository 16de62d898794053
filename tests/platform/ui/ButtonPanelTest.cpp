#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

struct Journal : AlertViewDelegate, ActionSheetDelegate {
    std::vector<std::string> events;
    void clickedButtonAtIndex(AlertView&, int i) override { events.push_back("alert clicked " + std::to_string(i)); }
    void willDismissWithButtonIndex(AlertView&, int i) override { events.push_back("alert will " + std::to_string(i)); }
    void didDismissWithButtonIndex(AlertView&, int i) override { events.push_back("alert did " + std::to_string(i)); }
    void clickedButtonAtIndex(ActionSheet&, int i) override { events.push_back("sheet clicked " + std::to_string(i)); }
    void willDismissWithButtonIndex(ActionSheet&, int i) override { events.push_back("sheet will " + std::to_string(i)); }
    void didDismissWithButtonIndex(ActionSheet&, int i) override { events.push_back("sheet did " + std::to_string(i)); }
};

struct ButtonPanelTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    Journal journal;

    ButtonPanelTest() { window->makeKeyAndVisible(); }
    ~ButtonPanelTest() override { ButtonPanel::discardAll(); }

    // Every button of the shown panel by its title, in the panel's index order.
    static std::vector<std::string> titles(const ButtonPanel& panel)
    {
        std::vector<std::string> result;
        for (int i = 0; i < panel.numberOfButtons(); ++i)
            result.push_back(panel.buttonTitleAtIndex(i));
        return result;
    }
    Button* drawnButton(const std::string& title)
    {
        std::function<Button*(View&)> find = [&](View& v) -> Button* {
            if (auto* b = dynamic_cast<Button*>(&v); b && b->currentTitle() == title)
                return b;
            for (auto& child : v.subviews()) {
                if (auto* found = find(*child))
                    return found;
            }
            return nullptr;
        };
        return find(*window);
    }
};

} // namespace

TEST_F(ButtonPanelTest, AlertNumbersCancelZeroThenTheOthersInOrder)
{
    auto confirm = std::make_shared<AlertView>("Delete?", "Really", &journal, "Cancel", std::vector<std::string> { "Delete", "Archive" });
    EXPECT_EQ(titles(*confirm), (std::vector<std::string> { "Cancel", "Delete", "Archive" }));
    EXPECT_EQ(confirm->cancelButtonIndex(), 0);
    EXPECT_EQ(confirm->firstOtherButtonIndex(), 1);

    auto noCancel = std::make_shared<AlertView>("", "Message", nullptr, "", std::vector<std::string> { "OK" });
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    EXPECT_EQ(noCancel->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(noCancel->addButtonWithTitle("Later"), 1);
}

TEST_F(ButtonPanelTest, SheetNumbersOthersFromZeroAndCancelAfterThem)
{
    ActionSheet plain("Group", &journal, "Cancel", "", { "SMS", "Mail", "Members" });
    EXPECT_EQ(titles(plain), (std::vector<std::string> { "SMS", "Mail", "Members", "Cancel" }));
    EXPECT_EQ(plain.cancelButtonIndex(), 3);
    EXPECT_EQ(plain.destructiveButtonIndex(), -1);

    ActionSheet destructive("", nullptr, "Cancel", "Delete", { "Keep" });
    EXPECT_EQ(titles(destructive), (std::vector<std::string> { "Delete", "Keep", "Cancel" }));
    EXPECT_EQ(destructive.destructiveButtonIndex(), 0);

    ActionSheet noCancel("", nullptr, "", "", { "Only" });
    EXPECT_EQ(noCancel.cancelButtonIndex(), -1);
}

TEST_F(ButtonPanelTest, TouchingADrawnButtonTellsTheDelegateItsIndexThenDismisses)
{
    auto sheet = std::make_shared<ActionSheet>("Group", &journal, "Cancel", "", std::vector<std::string> { "SMS", "Mail" });
    sheet->showInView(*window);
    sheet.reset();
    ASSERT_NE(ButtonPanel::topmostVisible(), nullptr);
    window->layoutIfNeeded();

    auto* mail = drawnButton("Mail");
    ASSERT_NE(mail, nullptr);
    window->tap(mail->convertRectToView(mail->bounds(), nullptr).center());
    EXPECT_EQ(journal.events, (std::vector<std::string> { "sheet clicked 1", "sheet will 1" }));
    EXPECT_EQ(ButtonPanel::topmostVisible(), nullptr);
    time.advance(ActionSheet::dismissTime);
    EXPECT_EQ(journal.events.back(), "sheet did 1");
    EXPECT_EQ(drawnButton("Mail"), nullptr);
}

TEST_F(ButtonPanelTest, AutomationPressesTheTopmostPanelAndIgnoresBadIndexes)
{
    auto first = std::make_shared<AlertView>("First", "", &journal, "Cancel", std::vector<std::string> { "OK" });
    auto second = std::make_shared<AlertView>("Second", "", &journal, "Cancel", std::vector<std::string> { "OK" });
    first->show();
    second->show();
    ASSERT_EQ(ButtonPanel::topmostVisible(), second.get());
    ButtonPanel::topmostVisible()->tapButtonAtIndex(7);
    EXPECT_TRUE(journal.events.empty());
    ButtonPanel::topmostVisible()->tapButtonAtIndex(1);
    EXPECT_EQ(ButtonPanel::topmostVisible(), first.get());
    // A dismissed panel no longer answers.
    second->tapButtonAtIndex(0);
    EXPECT_EQ(journal.events, (std::vector<std::string> { "alert clicked 1", "alert will 1" }));
}

TEST_F(ButtonPanelTest, DismissingInCodeSkipsTheClickButStillTellsOfTheDismissal)
{
    auto alert = std::make_shared<AlertView>("", "Copied", &journal, "OK");
    alert->show();
    alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_EQ(journal.events, (std::vector<std::string> { "alert will 0", "alert did 0" }));
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(ButtonPanelTest, AlertWithoutAWindowCanStillBeAnswered)
{
    window.reset();
    auto alert = std::make_shared<AlertView>("No window", "", &journal, "OK");
    alert->show();
    ASSERT_EQ(ButtonPanel::topmostVisible(), alert.get());
    alert->tapButtonAtIndex(0);
    EXPECT_EQ(journal.events.front(), "alert clicked 0");
}
