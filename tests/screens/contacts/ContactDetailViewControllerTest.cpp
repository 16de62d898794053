// The contact detail as the application shows it over everything: what a touch on each kind
// of line does (the sheet, the value handed over cleaned and escaped, the recent call only
// for Call, the iPod touch), deleting with its confirmation and its failure, and the whole
// way from a group's list through an edit and back.

#include "screens/groups/GroupTabFixture.h"

#include "addressbook/SharedAddressBook.h"
#include "app/AppNotification.h"
#include "app/TessaroViewController.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/Device.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/TableView.h"
#include "screens/contacts/ContactDetailViewController.h"
#include "screens/groups/GroupContactsViewController.h"
#include "store/DataManager.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace contactstore;
using tessaro::ContactDetailViewController;
using tessaro::DataManager;

class ContactDetailTest : public groupstest::GroupTabFixture {
protected:
    // Shows the person's detail the way every list does, and lets it slide in.
    ContactDetailViewController& openDetail(const tessaro::Contact& person)
    {
        tessaro::AppNotification::postShowDetail(person);
        time.advance(1);
        auto* detail = dynamic_cast<ContactDetailViewController*>(root().detailViewController());
        EXPECT_NE(detail, nullptr);
        return *detail;
    }

    // Touches the card's line of the property (the nth of its kind).
    void touchLine(ContactDetailViewController& detail, PropertyID property, int nth = 0)
    {
        const auto& sections = detail.personView()->sections();
        for (std::size_t section = 0; section < sections.size(); ++section) {
            for (std::size_t row = 0; row < sections[section].size(); ++row) {
                if (sections[section][row].property == property && nth-- == 0) {
                    act({ { "cmd", "tapRow" }, { "section", section }, { "row", row } });
                    return;
                }
            }
        }
        ADD_FAILURE() << "no line of property " << property;
    }

    static ui::ActionSheet* shownSheet() { return dynamic_cast<ui::ActionSheet*>(ui::ButtonPanel::topmostVisible()); }
    static std::vector<std::string> opened() { return ui::Application::shared().takeOpenedURLs(); }
    static std::size_t recentCalls() { return DataManager::sharedDataBase().selectRecent().size(); }

    void addLines(const tessaro::Contact& person, PropertyID property, MultiValue values)
    {
        ASSERT_TRUE(person.record()->setValue(property, std::move(values)));
        ASSERT_TRUE(tessaro::SharedAddressBook::get()->save());
    }
};

TEST_F(ContactDetailTest, EachChoiceOfTheSheetHandsTheCleanedEscapedValueOverAndOnlyCallRecordsARecentCall)
{
    auto person = addPerson({ .first = "Kenji", .last = "Sato", .phones = { "(03) 1234-5678", "1;2?x=y" }, .mails = { "a@b.c?cc=evil@x" } });
    launch();
    auto& detail = openDetail(person);
    const std::string id = std::to_string(person.recordID());

    struct Case {
        PropertyID property;
        int nth;
        int button;
        std::string title;
        std::vector<std::string> urls;
        bool recordsCall;
    };
    const Case cases[] = {
        // Blanks and parentheses go, hyphens stay.
        { kPersonPhoneProperty, 0, 0, "031234-5678", { "tel://031234-5678" }, true },
        { kPersonPhoneProperty, 0, 1, "031234-5678", { "sms://031234-5678" }, false },
        { kPersonPhoneProperty, 0, 2, "031234-5678", { "facetime://031234-5678" }, false },
        { kPersonPhoneProperty, 0, 3, "031234-5678", {}, false },
        // A hostile value cannot add to the URL it travels in.
        { kPersonPhoneProperty, 1, 0, "1;2?x=y", { "tel://1%3B2%3Fx%3Dy" }, true },
        { kPersonEmailProperty, 0, 1, "a@b.c?cc=evil@x", { "sms://a@b.c%3Fcc%3Devil@x" }, false },
        { kPersonEmailProperty, 0, 2, "a@b.c?cc=evil@x", { "facetime://a@b.c%3Fcc%3Devil@x" }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title + " button " + std::to_string(c.button));
        std::size_t recentBefore = recentCalls();
        touchLine(detail, c.property, c.nth);
        auto* sheet = shownSheet();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->title(), c.title);
        EXPECT_EQ(sheet->tag(), c.property == kPersonPhoneProperty ? ContactDetailViewController::kPhoneSheetTag : ContactDetailViewController::kMailSheetTag);
        EXPECT_EQ(sheet->buttonTitleAtIndex(0), c.property == kPersonPhoneProperty ? "CallPhoneTitle" : "SendMailTitle");
        EXPECT_EQ(sheet->cancelButtonIndex(), 3);
        act({ { "cmd", "button" }, { "index", c.button } });
        time.advance(1);
        EXPECT_EQ(opened(), c.urls);
        EXPECT_EQ(recentCalls(), recentBefore + (c.recordsCall ? 1 : 0));
        if (c.recordsCall)
            EXPECT_EQ(DataManager::sharedDataBase().selectRecent().back().contactID, id);
    }

    // Mail, where the device can send it, opens the composer with the address alone.
    touchLine(detail, kPersonEmailProperty);
    act({ { "cmd", "button" }, { "index", 0 } });
    time.advance(1);
    auto* composer = dynamic_cast<services::MailComposeViewController*>(root().presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->toRecipients(), std::vector<std::string> { "a@b.c?cc=evil@x" });
    EXPECT_TRUE(opened().empty());
    composer->cancel();
    time.advance(1);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(root().detailViewController(), &detail) << "the detail stays after the mail";
}

TEST_F(ContactDetailTest, OtherLinesAndAnIPodTouchRunTheCardsOwnActionExceptThatMailOpensAtOnce)
{
    auto person = addPerson({ .first = "Ann", .phones = { "090 1111 2222" }, .mails = { "ann@example.com" } });
    addLines(person, kPersonURLProperty, [] {
        MultiValue urls(PropertyType::MultiString);
        EXPECT_TRUE(urls.addValueAndLabel(std::string("https://example.com/ann"), std::string(kPersonHomePageLabel)));
        return urls;
    }());
    addLines(person, kPersonAddressProperty, [] {
        MultiValue addresses(PropertyType::MultiDictionary);
        EXPECT_TRUE(addresses.addValueAndLabel(Dictionary { { kPersonAddressCityKey, "Kyoto" } }, std::string(kHomeLabel)));
        return addresses;
    }());
    launch();
    auto& detail = openDetail(person);

    touchLine(detail, kPersonURLProperty);
    touchLine(detail, kPersonAddressProperty);
    EXPECT_EQ(shownSheet(), nullptr);
    EXPECT_EQ(opened(), (std::vector<std::string> { "https://example.com/ann", "https://www.openstreetmap.org/search?query=Kyoto" }));

    foundation::Device::current().setModel("iPod touch");
    touchLine(detail, kPersonPhoneProperty);
    EXPECT_EQ(shownSheet(), nullptr);
    EXPECT_TRUE(opened().empty()) << "a device that cannot phone is handed no call";
    EXPECT_EQ(recentCalls(), 0u);
    touchLine(detail, kPersonEmailProperty);
    EXPECT_EQ(shownSheet(), nullptr);
    time.advance(1);
    auto* composer = dynamic_cast<services::MailComposeViewController*>(root().presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->toRecipients(), std::vector<std::string> { "ann@example.com" });
}

TEST_F(ContactDetailTest, DeletingAsksFirstAndTakesOnlyTheFavouriteRowWithThePerson)
{
    auto keep = addPerson("Ben", "Baker");
    auto doomed = addPerson({ .first = "Ann", .last = "Archer", .phones = { "123" } });
    const std::string id = std::to_string(doomed.recordID());
    auto& database = DataManager::sharedDataBase();
    ASSERT_TRUE(database.insertFavorite(id));
    ASSERT_TRUE(database.insertFavorite(std::to_string(keep.recordID())));
    ASSERT_TRUE(database.insertRecent(id));
    std::string local = addLocalGroup("Friends", { doomed, keep });
    launch();
    auto& detail = openDetail(doomed);

    // Cancel in the confirmation changes nothing and keeps the detail.
    act({ { "cmd", "tap" }, { "id", "detail.delete" } });
    auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "DeleteContactAlertMessTitle");
    EXPECT_EQ(alert->message(), "addScheduleStartDateLaterendDateErroMessage");
    act({ { "cmd", "button" }, { "index", 0 } });
    time.advance(1);
    EXPECT_EQ(root().detailViewController(), &detail);
    EXPECT_TRUE(tessaro::Contact::contactWithRecordID(doomed.recordID()));

    act({ { "cmd", "tap" }, { "id", "detail.delete" } });
    act({ { "cmd", "button" }, { "index", 1 } });
    time.advance(1);
    EXPECT_EQ(root().detailViewController(), nullptr);
    EXPECT_EQ(ui::ButtonPanel::topmostVisible(), nullptr);
    auto fresh = AddressBook::create();
    EXPECT_FALSE(fresh->personWithRecordID(doomed.recordID()));
    EXPECT_FALSE(database.selectFavorite(id));
    EXPECT_TRUE(database.selectFavorite(std::to_string(keep.recordID())));
    EXPECT_EQ(database.selectRecent().size(), 1u);
    EXPECT_EQ(database.selectLocalGroupMemberIDsWithID(std::stoi(local)).size(), 2u);
}

TEST_F(ContactDetailTest, ARefusedDeletionClosesTheDetailAndShowsTheAddressBooksError)
{
    auto person = addPerson("Ann", "Archer");
    const std::string id = std::to_string(person.recordID());
    ASSERT_TRUE(DataManager::sharedDataBase().insertFavorite(id));
    launch();
    openDetail(person);
    // Another screen deleted the person meanwhile.
    ASSERT_TRUE(tessaro::Contact(person).removeSelfFromAddressBook());

    act({ { "cmd", "tap" }, { "id", "detail.delete" } });
    act({ { "cmd", "button" }, { "index", 1 } });
    auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(alert, nullptr);
    EXPECT_TRUE(alert->title().empty());
    EXPECT_FALSE(alert->message().empty());
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");
    time.advance(1);
    EXPECT_EQ(root().detailViewController(), nullptr);
    EXPECT_TRUE(DataManager::sharedDataBase().selectFavorite(id)) << "no local data changes";
}

TEST_F(ContactDetailTest, FromAGroupsListThroughAnEditAndACallBackToTheUpdatedList)
{
    auto ann = addPerson({ .first = "Ann", .last = "Archer", .phones = { "(03) 1234-5678" } });
    addPerson("Ben", "Baker");
    launch();
    openGroupAtRow(0);
    act({ { "cmd", "tap" }, { "id", "groupcontacts.search" } });
    act({ { "cmd", "type" }, { "text", "Ann" } });
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    time.advance(1);
    auto* detail = dynamic_cast<ContactDetailViewController*>(root().detailViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->view()->frame().origin.y, 0);
    EXPECT_EQ(act({ { "cmd", "dump" } })["keyboard"], false) << "the search's keyboard would cover the card";

    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    act({ { "cmd", "button" }, { "title", "CallPhoneTitle" } });
    time.advance(1);
    EXPECT_EQ(act({ { "cmd", "openedURLs" } })["urls"], nlohmann::json::array({ "tel://031234-5678" }));
    EXPECT_EQ(recentCalls(), 1u);

    act({ { "cmd", "tap" }, { "id", "personview.edit" } });
    act({ { "cmd", "tap" }, { "id", "personview.firstName" } });
    act({ { "cmd", "type" }, { "backspace", 3 }, { "text", "Anna" } });
    act({ { "cmd", "tap" }, { "id", "personview.edit" } });
    EXPECT_FALSE(detail->personView()->isEditing());
    act({ { "cmd", "tap" }, { "id", "detail.cancel" } });
    time.advance(1);
    EXPECT_EQ(root().detailViewController(), nullptr);
    std::vector<std::string> shown;
    for (const auto& section : testsupport::checkTable(*groupContacts()->myTableView()).sections) {
        for (const auto& row : section.rows)
            shown.insert(shown.end(), row.allTexts.begin(), row.allTexts.end());
    }
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Archer Anna"), shown.end()) << ::testing::PrintToString(shown);
    // The edit is in the file, for the next start.
    EXPECT_EQ(AddressBook::create()->personWithRecordID(ann.recordID())->copyString(kPersonFirstNameProperty), "Anna");
}

} // namespace
