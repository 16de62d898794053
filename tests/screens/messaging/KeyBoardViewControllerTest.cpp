// The keypad dialer over the whole screen: the pad of both looks, typing and deleting
// digits with the list following (recent calls, then the persons of the typed number), the
// call recorded in its two stored forms before the telephone takes over, the recent list
// with its dates, deleted persons and deletion, the text message, a new person made from a
// number and put into a group, and the computer's keys.

#include "../groups/GroupTabFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "platform/foundation/Device.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/services/NewPersonViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "screens/messaging/CustomNumbleKeyboardView.h"
#include "screens/messaging/KeyBoardViewController.h"
#include "store/DataManager.h"

#include <gmock/gmock.h>

namespace groupstest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using tessaro::CustomNumbleKeyboardView;
using tessaro::DataManager;
using tessaro::KeyBoardViewController;

class KeypadTest : public GroupTabFixture {
protected:
    // Touches the keypad tab and lets the pad slide in.
    KeyBoardViewController& openKeypad()
    {
        act({ { "cmd", "tap" }, { "text", "KeyBoardBarTitle" } });
        time.advance(1);
        auto* keypad = dynamic_cast<KeyBoardViewController*>(root().keyboardViewController());
        EXPECT_NE(keypad, nullptr);
        return *keypad;
    }
    KeyBoardViewController& keypad() const { return *dynamic_cast<KeyBoardViewController*>(root().keyboardViewController()); }

    void typeDigits(const std::string& digits)
    {
        for (char digit : digits)
            act({ { "cmd", "tap" }, { "id", std::string("keypad.key.") + digit } });
    }

    // What the list shows, row by row, through the shared table checker (pictures named).
    std::vector<std::vector<std::string>> rows()
    {
        std::vector<std::vector<std::string>> texts;
        auto contents = testsupport::checkTable(*keypad().myTableView());
        for (const auto& row : contents.sections.at(0).rows)
            texts.push_back(row.allTexts);
        return texts;
    }

    std::vector<std::string> storedRecents() const
    {
        std::vector<std::string> ids;
        for (const auto& recent : DataManager::sharedDataBase().selectRecent())
            ids.push_back(recent.contactID);
        return ids;
    }

    // Calls the typed number through the call button and the sheet's first button.
    void callTypedNumber()
    {
        act({ { "cmd", "tap" }, { "id", "keypad.call" } });
        act({ { "cmd", "button" }, { "index", KeyBoardViewController::kCallButton } });
        time.advance(1);
    }

    // Stores a recent call at a chosen time, as a call made then would have.
    void storeRecent(const std::string& contactID, std::chrono::system_clock::time_point when)
    {
        DataManager::sharedDataBase().setClock([when] { return when; });
        ASSERT_TRUE(DataManager::sharedDataBase().insertRecent(contactID));
        DataManager::sharedDataBase().setClock(nullptr);
    }

    std::string dateText(std::chrono::system_clock::time_point when) { return tessaro::Utility::sharedUtility().getMMDDHHMM(when); }
};

std::chrono::system_clock::time_point day(int n)
{
    return std::chrono::system_clock::time_point(std::chrono::hours(24 * (20000 + n)));
}

TEST_F(KeypadTest, ThePadLiesAtTheBottomWithTwelveTaggedKeysAndThePressedPicturesOfEachLook)
{
    struct Look {
        const char* version;
        const char* suffix;
        double top;
    };
    for (const Look& look : { Look { "7.0", "-ios7", 20 }, Look { "6.1", "", 0 } }) {
        SCOPED_TRACE(look.version);
        foundation::Device::current().setSystemVersion(look.version);
        launch(OpenedScreens::Application);
        auto& screen = openKeypad();
        auto* pad = screen.customKeyboardView();
        ASSERT_NE(pad, nullptr);
        EXPECT_EQ(pad->frame(), ui::Rect(0, look.top + 265 + 88, 320, 195));
        EXPECT_EQ(screen.btnCall()->frame(), ui::Rect(0, look.top, 44, 51));
        EXPECT_EQ(screen.btnCall()->currentImage()->name(), std::string("btnCall") + look.suffix + ".png");
        EXPECT_EQ(screen.lblNumber()->frame(), ui::Rect(44, look.top, 276, 51));
        EXPECT_EQ(screen.myTableView()->frame(), ui::Rect(0, look.top + 51, 320, 214 + 88));

        const int tags[4][3] = { { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 }, { 10, 0, 11 } };
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column) {
                int tag = tags[row][column];
                auto* key = pad->keyWithTag(tag);
                ASSERT_NE(key, nullptr) << tag;
                EXPECT_EQ(key->frame(), ui::Rect(column * 107 - (column == 2 ? 1 : 0), row * 49, 107, 49)) << tag;
                std::string pressed = tag == 10 ? "numberdone_press" : tag == 11 ? "numberdel_press" : "number_" + std::to_string(tag) + "_select";
                EXPECT_EQ(key->imageForState(ui::ControlState::Highlighted)->name(), pressed + look.suffix) << tag;
                EXPECT_EQ(key->imageForState(ui::ControlState::Selected)->name(), pressed + look.suffix) << tag;
                EXPECT_EQ(key->imageForState(ui::ControlState::Normal), nullptr) << tag;
            }
        }
        quit();
    }
}

TEST_F(KeypadTest, TypingNarrowsToThePersonsOfTheNumberAndDeletingReturnsToTheRecentCalls)
{
    addPerson(PersonFields { .first = "Hana", .last = "Sato", .phones = { "090-1234-5678" }, .organization = "Works", .jobTitle = "Chief", .department = "Sales" });
    addPerson(PersonFields { .first = "Ken", .phones = { "03 1090 2222", "+81 80 9999" } });
    addPerson(PersonFields { .first = "Other", .phones = { "011 222" } });
    storeRecent("isphonenumber,555", day(1));
    launch(OpenedScreens::Application);
    auto& screen = openKeypad();
    EXPECT_FALSE(screen.btnCall()->isEnabled());
    EXPECT_EQ(rows().size(), 1u);

    typeDigits("090");
    EXPECT_EQ(screen.strCallNumber(), "090");
    EXPECT_EQ(screen.lblNumber()->text(), "090");
    EXPECT_TRUE(screen.btnCall()->isEnabled());
    EXPECT_THAT(rows(), ElementsAre(ElementsAre("head.png", "Sato Hana", "090-1234-5678", "Works Chief Sales"),
                                    ElementsAre("head.png", "Ken", "03 1090 2222 +81 80 9999", "  ")));
    EXPECT_THAT(screen.arrCallDate(), IsEmpty());

    for (int press = 0; press < 3; ++press)
        act({ { "cmd", "tap" }, { "id", "keypad.key.delete" } });
    EXPECT_EQ(screen.lblNumber()->text(), "");
    EXPECT_FALSE(screen.btnCall()->isEnabled());
    EXPECT_THAT(rows(), ElementsAre(ElementsAre("head.png", "555")));
    EXPECT_THAT(screen.arrCallDate(), ElementsAre(day(1)));
    // Deleting with nothing typed leaves everything as it is.
    act({ { "cmd", "tap" }, { "id", "keypad.key.delete" } });
    EXPECT_EQ(screen.strCallNumber(), "");
    EXPECT_EQ(rows().size(), 1u);
    // The call button does nothing without a number.
    screen.callPhoneNumber();
    EXPECT_FALSE(tryAct({ { "cmd", "button" }, { "index", 0 } }).value("ok", true));
}

TEST_F(KeypadTest, ACallIsRecordedInItsStoredFormBeforeTheTelephoneAndListedWhenThePadOpensAgain)
{
    auto hana = addPerson(PersonFields { .first = "Hana", .phones = { "0311112222" } });
    addPerson(PersonFields { .first = "Ken", .phones = { "0455556666" } });
    addPerson(PersonFields { .first = "Kenji", .phones = { "045 555 6666" } });
    struct Case {
        const char* number;
        std::string stored;
        std::vector<std::string> row;
    };
    const std::vector<Case> cases {
        { "0311112222", std::to_string(hana.recordID()), { "head.png", "Hana", "0311112222" } },
        // The number of two persons, and a number of nobody, are kept as the bare number.
        { "0455556666", "isphonenumber,0455556666", { "head.png", "0455556666" } },
        { "0120", "isphonenumber,0120", { "head.png", "0120" } },
    };
    launch(OpenedScreens::Application);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        auto& screen = openKeypad();
        typeDigits(c.number);
        (void)ui::Application::shared().takeOpenedURLs();
        callTypedNumber();
        EXPECT_THAT(ui::Application::shared().openedURLs(), ElementsAre(std::string("tel://") + c.number));
        EXPECT_EQ(storedRecents().front(), c.stored);
        EXPECT_TRUE(screen.isSearching()) << "the list waits for the pad's next showing";

        act({ { "cmd", "tap" }, { "id", "keypad.key.done" } });
        time.advance(1);
        EXPECT_EQ(screen.view()->superview(), nullptr);
        openKeypad();
        auto shown = rows();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.front(), c.row);
        EXPECT_EQ(screen.arrCallDate().front(), DataManager::sharedDataBase().selectRecent().front().callDate);
        if (&c != &cases.back()) {
            act({ { "cmd", "tap" }, { "id", "keypad.key.done" } });
            time.advance(1);
        }
    }
    EXPECT_EQ(rows().size(), cases.size());
}

TEST_F(KeypadTest, RecentCallsOfDeletedPersonsAreSkippedButKeptAndDeletionTakesEveryCallOfTheRow)
{
    auto hana = addPerson(PersonFields { .first = "Hana", .phones = { "0311112222" } });
    auto gone = addPerson(PersonFields { .first = "Gone", .phones = { "0399998888" } });
    std::string hanaID = std::to_string(hana.recordID());
    storeRecent(hanaID, day(1));
    storeRecent("isphonenumber,111", day(2));
    storeRecent(std::to_string(gone.recordID()), day(3));
    storeRecent("isphonenumber,222", day(4));
    storeRecent(hanaID, day(5));
    deletePersonOutside(gone.recordID());
    launch(OpenedScreens::Application);
    tessaro::Utility::sharedUtility().resetObject();
    // Dates in a language whose date pattern is a real one.
    foundation::Device::current().setLanguage("en");
    ASSERT_NE(dateText(day(1)), dateText(day(2)));
    auto& screen = openKeypad();

    // Newest first; the deleted person's call is not listed but still stored.
    EXPECT_THAT(rows(), ElementsAre(ElementsAre("head.png", "Hana", "0311112222", dateText(day(5))),
                                    ElementsAre("head.png", "222", dateText(day(4))),
                                    ElementsAre("head.png", "111", dateText(day(2))),
                                    ElementsAre("head.png", "Hana", "0311112222", dateText(day(1)))));
    EXPECT_EQ(storedRecents().size(), 5u);

    // The second of the rows goes; the third keeps its own date.
    EXPECT_TRUE(act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 1 } }).value("deleted", false));
    time.advance(1);
    EXPECT_THAT(rows(), ElementsAre(ElementsAre("head.png", "Hana", "0311112222", dateText(day(5))),
                                    ElementsAre("head.png", "111", dateText(day(2))),
                                    ElementsAre("head.png", "Hana", "0311112222", dateText(day(1)))));

    // A person listed twice: both stored calls go, the other row stays until the next rebuild.
    EXPECT_TRUE(act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } }).value("deleted", false));
    time.advance(1);
    EXPECT_THAT(storedRecents(), ElementsAre(std::to_string(gone.recordID()), "isphonenumber,111"));
    EXPECT_EQ(rows().size(), 2u);
    screen.reloadData();
    EXPECT_THAT(rows(), ElementsAre(ElementsAre("head.png", "111", dateText(day(2)))));

    // While digits are typed no row can be deleted.
    typeDigits("03");
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_FALSE(tryAct({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } }).value("deleted", false));
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(storedRecents().size(), 2u);

    // A deletion the store refuses is told and nothing stored goes. The refusal is made by
    // closing the file, so the list the application rereads after a refused write is empty
    // until the file is back; then the row is listed again.
    screen.clearAll();
    DataManager::sharedDataBase().closeDatabese();
    EXPECT_FALSE(act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } }).value("deleted", true));
    EXPECT_NE(dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible()), nullptr);
    time.advance(1);
    DataManager::setSharedDatabaseFile(folder / "Documents" / "Vantel.db");
    EXPECT_EQ(storedRecents().size(), 2u);
    screen.reloadData();
    EXPECT_THAT(rows(), ElementsAre(ElementsAre("head.png", "111", dateText(day(2)))));
}

TEST_F(KeypadTest, ANumberRowOffersTheSheetAndAPersonRowOpensThePerson)
{
    auto hana = addPerson(PersonFields { .first = "Hana", .phones = { "0311112222" } });
    storeRecent("isphonenumber,0120", day(1));
    storeRecent(std::to_string(hana.recordID()), day(2));
    launch(OpenedScreens::Application);
    auto& screen = openKeypad();

    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 1 } });
    auto tree = act({ { "cmd", "dump" } }).dump();
    EXPECT_NE(tree.find("CallPhoneTitle"), std::string::npos);
    EXPECT_EQ(screen.strCSNNumber(), "0120");
    EXPECT_EQ(act({ { "cmd", "button" }, { "index", KeyBoardViewController::kCancelButton } })["title"], "CancelButtonTitle");
    time.advance(1);
    EXPECT_EQ(storedRecents().size(), 2u) << "cancel records nothing";

    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    time.advance(1);
    EXPECT_NE(root().detailViewController(), nullptr);
    EXPECT_FALSE(screen.myTableView()->indexPathForSelectedRow());
}

TEST_F(KeypadTest, ATextGoesToTheComposerOrTheMessagesApplicationAndRecordsNoCall)
{
    launch(OpenedScreens::Application);
    for (bool canSendText : { false, true }) {
        SCOPED_TRACE(canSendText);
        services::MessageComposeViewController::setCanSendText(canSendText);
        auto& screen = openKeypad();
        typeDigits("0120");
        (void)ui::Application::shared().takeOpenedURLs();
        act({ { "cmd", "tap" }, { "id", "keypad.call" } });
        act({ { "cmd", "button" }, { "index", KeyBoardViewController::kSmsButton } });
        time.advance(1);
        auto* composer = dynamic_cast<services::MessageComposeViewController*>(root().presentedViewController());
        if (!canSendText) {
            EXPECT_THAT(ui::Application::shared().openedURLs(), ElementsAre("sms://0120"));
            EXPECT_EQ(composer, nullptr);
        } else {
            ASSERT_NE(composer, nullptr);
            EXPECT_THAT(composer->recipients(), ElementsAre("0120"));
            EXPECT_THAT(ui::Application::shared().openedURLs(), IsEmpty());
            screen.didFinishWithResult(*composer, services::MessageComposeResult::Cancelled);
            time.advance(1);
            EXPECT_EQ(root().presentedViewController(), nullptr);
        }
        EXPECT_THAT(storedRecents(), IsEmpty());
        act({ { "cmd", "tap" }, { "id", "keypad.key.done" } });
        time.advance(1);
    }
}

TEST_F(KeypadTest, ANewPersonIsMadeFromTheNumberAndPutIntoTheChosenGroup)
{
    auto friends = addAddressBookGroup("Friends");
    launch(OpenedScreens::Application);
    auto& screen = openKeypad();
    typeDigits("0312345678");
    act({ { "cmd", "tap" }, { "id", "keypad.call" } });
    act({ { "cmd", "button" }, { "index", KeyBoardViewController::kAddContactButton } });
    time.advance(1);

    // The form starts with the number under the main label.
    auto* navigation = dynamic_cast<ui::NavigationController*>(root().presentedViewController());
    ASSERT_NE(navigation, nullptr);
    auto* form = dynamic_cast<services::NewPersonViewController*>(navigation->topViewController());
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->entryCount(services::NewPersonViewController::EntryKind::Phone), 1u);
    EXPECT_EQ(form->entryLabel(services::NewPersonViewController::EntryKind::Phone, 0), contactstore::kPersonPhoneMainLabel);
    act({ { "cmd", "tap" }, { "id", "newperson.firstName" } });
    act({ { "cmd", "type" }, { "text", "Neu" } });
    act({ { "cmd", "tap" }, { "id", "newperson.done" } });
    time.advance(1);
    EXPECT_EQ(root().presentedViewController(), nullptr);

    auto made = tessaro::AddressBookQueries::contactsMatchingPhone("0312345678");
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made.front().firstname(), "Neu");
    // The chooser lies over the whole keypad; choosing a group puts the person in it.
    auto* chooser = screen.groupSelectNav();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->view()->superview(), screen.view().get());
    EXPECT_EQ(chooser->view()->frame(), ui::Rect(0, 20, 320, 460 + 88));
    act({ { "cmd", "tap" }, { "text", "Friends" } });
    act({ { "cmd", "tap" }, { "id", "groupSelect.done" } });
    time.advance(1);
    auto group = tessaro::AddressBookGroup::groupWithRecordID(friends);
    ASSERT_TRUE(group);
    ASSERT_EQ(group->members().size(), 1u);
    EXPECT_EQ(group->members().front().recordID(), made.front().recordID());
    EXPECT_EQ(chooser->view()->superview(), nullptr);
    EXPECT_THAT(rows(), ElementsAre(ElementsAre("head.png", "Neu", "0312345678", "  ")));
}

TEST_F(KeypadTest, TheComputersKeysTypeOnThePadWhileItShows)
{
    addPerson(PersonFields { .first = "Hana", .phones = { "0311112222" } });
    launch(OpenedScreens::Application);
    EXPECT_FALSE(window().pressKey(ui::KeyPress::typed("1"))) << "no pad before the keypad opens";
    auto& screen = openKeypad();
    for (const char* digit : { "0", "3", "1", "x" })
        (void)window().pressKey(ui::KeyPress::typed(digit));
    EXPECT_TRUE(window().pressKey(ui::KeyPress::key(ui::KeyPress::Kind::Backspace)));
    EXPECT_EQ(screen.strCallNumber(), "03");
    EXPECT_EQ(rows().size(), 1u);

    EXPECT_TRUE(window().pressKey(ui::KeyPress::key(ui::KeyPress::Kind::Return)));
    EXPECT_EQ(screen.strCSNNumber(), "03");
    EXPECT_FALSE(window().pressKey(ui::KeyPress::typed("9"))) << "the sheet lies over the pad";
    act({ { "cmd", "button" }, { "index", KeyBoardViewController::kCancelButton } });
    time.advance(1);

    EXPECT_TRUE(window().pressKey(ui::KeyPress::key(ui::KeyPress::Kind::Escape)));
    time.advance(1);
    EXPECT_EQ(screen.view()->superview(), nullptr);
    EXPECT_FALSE(window().pressKey(ui::KeyPress::typed("1")));
    EXPECT_EQ(screen.strCallNumber(), "03");
}

} // namespace
} // namespace groupstest
