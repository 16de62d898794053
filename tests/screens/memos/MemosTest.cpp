// The memo tab as a person uses it: memos written in the editor listed newest first,
// editing in place, the stored order after a move, the editor's bar handing the unsaved text
// to a mail and a text message, and a store that refuses the memo.

#include "../groups/GroupTabFixture.h"

#include "app/MyTextView.h"
#include "app/TessaroViewController.h"
#include "platform/foundation/Device.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "screens/memos/AddMemoViewController.h"
#include "screens/memos/MemoViewController.h"
#include "store/DataManager.h"

#include <gmock/gmock.h>

namespace groupstest {
namespace {

using ::testing::ElementsAre;
using tessaro::AddMemoViewController;
using tessaro::DataManager;
using tessaro::MemoViewController;

class MemosTest : public GroupTabFixture {
protected:
    void openTab()
    {
        launch();
        root().tabController()->setSelectedIndex(tessaro::TessaroViewController::kMemosTab);
        time.advance(1);
    }
    MemoViewController& memos() const
    {
        auto* screen = dynamic_cast<MemoViewController*>(root().memoNavController()->viewControllers().front().get());
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
    AddMemoViewController* editor() const
    {
        return dynamic_cast<AddMemoViewController*>(root().memoNavController()->topViewController());
    }
    std::vector<std::string> listed() const
    {
        return testsupport::checkTable(*memos().myTableView()).rowTexts(0);
    }
    // Text and sort index of every stored memo, top of the list first.
    static std::vector<std::pair<std::string, int>> stored()
    {
        std::vector<std::pair<std::string, int>> rows;
        for (const auto& memo : DataManager::sharedDataBase().selectAllMemo())
            rows.emplace_back(memo.memo, memo.sortIndex);
        return rows;
    }
    void write(const std::string& text)
    {
        act({ { "cmd", "tap" }, { "id", "memos.add" } });
        time.advance(1);
        ASSERT_TRUE(editor());
        act({ { "cmd", "type" }, { "text", text } });
        act({ { "cmd", "tap" }, { "id", "memo.done" } });
        time.advance(1);
    }
};

TEST_F(MemosTest, NewestFirstEditingKeepsThePlaceAndAMoveRenumbersFromTheTop)
{
    openTab();
    for (const char* text : { "A", "B", "C" })
        write(text);
    EXPECT_THAT(listed(), ElementsAre("C", "B", "A"));

    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 1 } });
    time.advance(1);
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->title(), "EditMemoTitle");
    act({ { "cmd", "type" }, { "text", "2" } });
    act({ { "cmd", "tap" }, { "id", "memo.done" } });
    time.advance(1);
    EXPECT_THAT(listed(), ElementsAre("C", "B2", "A"));

    // The bottom memo to the top: indexes 2, 1, 0 from the top in the new order.
    act({ { "cmd", "tap" }, { "id", "memos.edit" } });
    act({ { "cmd", "moveRow" }, { "from", { 0, 2 } }, { "to", { 0, 0 } } });
    EXPECT_THAT(stored(), ElementsAre(std::pair { std::string("A"), 2 }, std::pair { std::string("C"), 1 },
                                      std::pair { std::string("B2"), 0 }));
    act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 1 } });
    time.advance(1);
    quit();
    openTab();
    EXPECT_THAT(listed(), ElementsAre("A", "B2"));
}

TEST_F(MemosTest, MailAndTextMessageCarryTheUnsavedText)
{
    // In English, where the three buttons fit the bar above the keyboard.
    foundation::Device::current().setLanguage("en");
    openTab();
    write("kept");
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    time.advance(1);
    act({ { "cmd", "type" }, { "text", " and more" } });

    act({ { "cmd", "tap" }, { "id", "memo.mail" } });
    time.advance(1);
    EXPECT_EQ(root().strSendMemo(), "kept and more");
    root().dismissViewControllerAnimated(false);
    time.advance(1);

    act({ { "cmd", "tap" }, { "id", "memo.text" } });
    act({ { "cmd", "tap" }, { "id", "memo.sms" } });
    time.advance(1);
    EXPECT_EQ(act({ { "cmd", "openedURLs" } })["urls"], nlohmann::json::array({ "sms://?body=kept%20and%20more" }));
    // Handing the text over did not store it.
    EXPECT_THAT(stored(), ElementsAre(std::pair { std::string("kept"), 1 }));
}

TEST_F(MemosTest, AMemoTheStoreRefusesIsToldAndTheEditorKeepsTheText)
{
    openTab();
    act({ { "cmd", "tap" }, { "id", "memos.add" } });
    time.advance(1);
    act({ { "cmd", "type" }, { "text", "not lost" } });
    DataManager::sharedDataBase().closeDatabese();
    act({ { "cmd", "tap" }, { "id", "memo.done" } });
    time.advance(1);

    auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(alert, nullptr);
    // The application tells the refusal with the database's own reason.
    EXPECT_EQ(alert->title(), "SaveFailedTitle");
    EXPECT_EQ(alert->message(), "database is not open");
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->textView()->text(), "not lost");
}

} // namespace
} // namespace groupstest
