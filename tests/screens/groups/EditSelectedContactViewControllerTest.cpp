// The bulk edit of a group's persons as the group persons screen opens it: which groups
// offer moving persons, what ticking enables, tick-all and its undoing, persons leaving a
// filtered list, a deletion that stops at the first refusal, and the ticked persons mailed,
// texted and moved, with the group list's counts following.

#include "GroupTabFixture.h"

#include "addressbook/SharedAddressBook.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "screens/groups/EditSelectedContactViewController.h"
#include "screens/groups/GroupContactsViewController.h"
#include "screens/groups/GroupViewController.h"
#include "screens/messaging/GroupSendMailViewController.h"
#include "screens/messaging/GroupSendSMSViewController.h"
#include "store/DataManager.h"

#include <algorithm>

namespace groupstest {
namespace {

using tessaro::EditSelectedContactViewController;

class BulkEditTest : public GroupTabFixture {
protected:
    // Opens the group's persons and their Edit button, as the user does.
    EditSelectedContactViewController& openBulkEdit(const std::string& groupID)
    {
        openGroupAtRow(rowOfGroup(groupID));
        act({ { "cmd", "tap" }, { "id", "groupcontacts.edit" } });
        time.advance(1);
        auto* navigation = dynamic_cast<ui::NavigationController*>(root().presentedViewController());
        EXPECT_NE(navigation, nullptr);
        auto* screen = navigation ? dynamic_cast<EditSelectedContactViewController*>(navigation->topViewController()) : nullptr;
        EXPECT_NE(screen, nullptr);
        return *screen;
    }

    // Ticks the named person by touching its row.
    void tick(EditSelectedContactViewController& screen, const std::string& name)
    {
        for (std::size_t s = 0; s < screen.sections().size(); ++s) {
            for (std::size_t r = 0; r < screen.sections()[s].size(); ++r) {
                if (screen.sections()[s][r].contactName() == name) {
                    act({ { "cmd", "tapRow" }, { "section", s }, { "row", r } });
                    return;
                }
            }
        }
        ADD_FAILURE() << "nobody named " << name;
    }

    static std::vector<std::string> tickedNames(const EditSelectedContactViewController& screen)
    {
        std::vector<std::string> names;
        for (const auto& contact : screen.arrSelectedContact())
            names.push_back(contact.contactName());
        return names;
    }

    // Enabled actions, as letters: m(ail), s(ms), c(hange group), d(elete).
    static std::string enabled(const EditSelectedContactViewController& screen)
    {
        std::string letters;
        if (screen.mailButton()->isEnabled())
            letters += 'm';
        if (screen.smsButton()->isEnabled())
            letters += 's';
        if (screen.changeGroupButton()->isEnabled())
            letters += 'c';
        if (screen.deleteButton()->isEnabled())
            letters += 'd';
        return letters;
    }

    void setFilter(EditSelectedContactViewController& screen, int index)
    {
        screen.segmentedControl()->setSelectedSegmentIndex(index);
        screen.segmentedControl()->sendActionsForControlEvents(ui::ControlEvent::ValueChanged);
    }

    // The names in rows the table shows (of non-zero height, as last loaded), checked
    // through the shared table checker; a header shows exactly over a shown row.
    static std::vector<std::string> visibleNames(EditSelectedContactViewController& screen)
    {
        auto& table = *screen.tableView();
        testsupport::checkTable(table);
        std::vector<std::string> names;
        for (int s = 0; s < table.numberOfSections(); ++s) {
            bool any = false;
            for (int r = 0; r < table.numberOfRowsInSection(s); ++r) {
                if (table.rectForRowAtIndexPath({ s, r }).height() > 0) {
                    any = true;
                    names.push_back(screen.sections()[static_cast<std::size_t>(s)][static_cast<std::size_t>(r)].contactName());
                }
            }
            EXPECT_EQ(table.rectForHeaderInSection(s).height() > 0, any) << "header of section " << s;
        }
        return names;
    }

    std::string countInGroupList(const std::string& groupID)
    {
        auto groups = testsupport::checkTable(*groupList().myTableView());
        return groups.sections.front().rows[static_cast<std::size_t>(rowOfGroup(groupID))].allTexts[1];
    }
};

TEST_F(BulkEditTest, OnlyGroupsPersonsCanBeMovedOutOfOfferChangeGroupAndEveryActionStartsDisabled)
{
    std::string local = addLocalGroup("Local");
    launch(OpenedScreens::Application);
    const std::vector<std::pair<std::string, bool>> cases { { "-1", false }, { "-2", true }, { "-100", false }, { "-101", false }, { local, true } };
    for (const auto& [groupID, hasChangeGroup] : cases) {
        SCOPED_TRACE(groupID);
        auto& screen = openBulkEdit(groupID);
        std::vector<std::string> ids;
        for (const auto& item : screen.bottomBarItems())
            ids.push_back(item->accessibilityIdentifier());
        std::vector<std::string> expected { "bulkEdit.mail", "bulkEdit.sms" };
        if (hasChangeGroup)
            expected.push_back("bulkEdit.changeGroup");
        expected.insert(expected.end(), { "", "bulkEdit.delete" });
        EXPECT_EQ(ids, expected);
        EXPECT_EQ(enabled(screen), "");
        EXPECT_EQ(screen.checkAllButton()->title(), "SelectedContactViewCheckAllTitle");
        // (With every text its own key, the wide tick-all button covers Done.)
        screen.editDone();
        time.advance(1);
        EXPECT_EQ(root().presentedViewController(), nullptr);
        root().groupNavController()->popToRootViewControllerAnimated(false);
        time.advance(1);
    }
}

TEST_F(BulkEditTest, TicksEnableWhatTheTickedPersonsHoldAndTickAllTogglesKeepingTheTickOrder)
{
    addPerson({ .first = "Ann", .last = "Archer", .phones = { "555 0101" }, .mails = { "ann@x.org" } });
    addPerson("Ben", "Baker");
    addPerson({ .first = "Cal", .last = "Cole", .phones = { "555 0303" } });
    launch(OpenedScreens::Application);
    auto& screen = openBulkEdit("-1");
    EXPECT_EQ(screen.contactCount(), 3);

    tick(screen, "Cole Cal");
    EXPECT_EQ(enabled(screen), "scd");
    tick(screen, "Baker Ben");
    EXPECT_EQ(enabled(screen), "scd");
    tick(screen, "Cole Cal");
    EXPECT_EQ(enabled(screen), "cd") << "Ben has neither a number nor an address";
    tick(screen, "Cole Cal");

    act({ { "cmd", "tap" }, { "id", "bulkEdit.checkAll" } });
    EXPECT_EQ(tickedNames(screen), (std::vector<std::string> { "Baker Ben", "Cole Cal", "Archer Ann" }));
    EXPECT_EQ(enabled(screen), "mscd");
    EXPECT_EQ(screen.checkAllButton()->title(), "SelectedContactViewUnCheckAllTitle");

    act({ { "cmd", "tap" }, { "id", "bulkEdit.checkAll" } });
    EXPECT_TRUE(screen.arrSelectedContact().empty());
    EXPECT_EQ(enabled(screen), "");
    EXPECT_EQ(screen.checkAllButton()->title(), "SelectedContactViewCheckAllTitle");

    // Ticking the last person by hand also turns the button into untick-all.
    for (const char* name : { "Archer Ann", "Baker Ben", "Cole Cal" })
        tick(screen, name);
    EXPECT_EQ(screen.checkAllButton()->title(), "SelectedContactViewUnCheckAllTitle");
}

TEST_F(BulkEditTest, AChangedTickLeavesAFilteredListAMomentLaterAndEmptiedSectionsLoseTheirHeaders)
{
    addPerson("Ann", "Archer");
    addPerson("Amy", "Adams");
    addPerson("Ben", "Baker");
    launch(OpenedScreens::Application);
    auto& screen = openBulkEdit("-1");
    setFilter(screen, EditSelectedContactViewController::kFilterUnchecked);
    tick(screen, "Baker Ben");
    EXPECT_EQ(visibleNames(screen).size(), 3u) << "the row stays until the delayed reload";
    time.advance(EditSelectedContactViewController::kFilterRefreshDelay);
    EXPECT_EQ(visibleNames(screen), (std::vector<std::string> { "Adams Amy", "Archer Ann" }));

    setFilter(screen, EditSelectedContactViewController::kFilterChecked);
    EXPECT_EQ(visibleNames(screen), (std::vector<std::string> { "Baker Ben" }));
    tick(screen, "Baker Ben");
    time.advance(EditSelectedContactViewController::kFilterRefreshDelay);
    EXPECT_TRUE(visibleNames(screen).empty());
    EXPECT_TRUE(screen.arrSelectedContact().empty());
}

TEST_F(BulkEditTest, ADeletionStopsAtTheFirstRefusalKeepingWhatWasDeletedAndClearingTheTicks)
{
    auto ann = addPerson("Ann", "Archer");
    auto ben = addPerson("Ben", "Baker");
    auto cal = addPerson("Cal", "Cole");
    std::string local = addLocalGroup("Local", { ann, ben, cal });
    auto& database = tessaro::DataManager::sharedDataBase();
    for (const auto& person : { ann, ben, cal })
        ASSERT_TRUE(database.insertFavorite(std::to_string(person.recordID())));
    launch(OpenedScreens::Application);
    auto& screen = openBulkEdit(local);
    for (const char* name : { "Archer Ann", "Baker Ben", "Cole Cal" })
        tick(screen, name);

    // Ben goes elsewhere and the application's handle is opened afresh, without the screens
    // hearing of it: his deletion is refused.
    deletePersonOutside(ben.recordID());
    tessaro::Utility::sharedUtility().setAddressBook(contactstore::AddressBook::create());

    // (With every text its own key, the bar is too narrow to show Delete.)
    screen.deleteSelectedContact();
    act({ { "cmd", "button" }, { "title", "OK" } });
    time.advance(1);
    auto dump = act({ { "cmd", "dump" } }).dump();
    EXPECT_NE(dump.find("The person is not in the address book."), std::string::npos);
    act({ { "cmd", "button" }, { "title", "OK" } });
    time.advance(1);

    EXPECT_FALSE(tessaro::Contact::contactWithRecordID(ann.recordID()));
    EXPECT_TRUE(tessaro::Contact::contactWithRecordID(cal.recordID()));
    EXPECT_FALSE(database.selectFavorite(std::to_string(ann.recordID())));
    EXPECT_TRUE(database.selectFavorite(std::to_string(cal.recordID())));
    auto members = database.selectLocalGroupMemberIDsWithID(std::stoi(local));
    EXPECT_EQ(std::count(members.begin(), members.end(), ann.recordID()), 0);
    EXPECT_EQ(std::count(members.begin(), members.end(), cal.recordID()), 1);
    EXPECT_TRUE(screen.arrSelectedContact().empty());
    EXPECT_EQ(enabled(screen), "");
    EXPECT_EQ(visibleNames(screen), (std::vector<std::string> { "Cole Cal" }));
}

TEST_F(BulkEditTest, TickedPersonsAreMailedTextedMovedAndDeletedAndTheGroupListFollows)
{
    auto ann = addPerson({ .first = "Ann", .last = "Archer", .phones = { "555 0101" }, .mails = { "ann@x.org" } });
    auto ben = addPerson({ .first = "Ben", .last = "Baker", .phones = { "555 0202" }, .mails = { "ben@x.org" } });
    auto cal = addPerson({ .first = "Cal", .last = "Cole", .mails = { "cal@x.org" } });
    std::string from = addLocalGroup("From", { ann, ben, cal });
    std::string to = addLocalGroup("To");
    launch(OpenedScreens::Application);
    auto& screen = openBulkEdit(from);
    auto* navigation = screen.navigationController();
    tick(screen, "Cole Cal");
    tick(screen, "Archer Ann");

    act({ { "cmd", "tap" }, { "id", "bulkEdit.mail" } });
    time.advance(1);
    auto* mail = dynamic_cast<tessaro::GroupSendMailViewController*>(navigation->topViewController());
    ASSERT_NE(mail, nullptr);
    ASSERT_EQ(mail->arrMailPersions().size(), 2u);
    EXPECT_EQ(mail->arrMailPersions()[0][0].mail, "cal@x.org") << "in the order of ticking";
    act({ { "cmd", "tap" }, { "id", "groupMail.compose" } });
    time.advance(1);
    act({ { "cmd", "tap" }, { "id", "compose.send" } });
    time.advance(1);
    EXPECT_EQ(act({ { "cmd", "openedURLs" } })["urls"], nlohmann::json::array({ "mailto:cal@x.org,ann@x.org" }));
    navigation->popViewControllerAnimated(false);

    act({ { "cmd", "tap" }, { "id", "bulkEdit.sms" } });
    time.advance(1);
    auto* sms = dynamic_cast<tessaro::GroupSendSMSViewController*>(navigation->topViewController());
    ASSERT_NE(sms, nullptr);
    EXPECT_EQ(tessaro::GroupSendSMSViewController::checkedNumbers(sms->arrSmsPersions()), (std::vector<std::string> { "555 0101" }));
    navigation->popViewControllerAnimated(false);
    time.advance(1);

    // Move both to the other group through the chooser, opened over this screen.
    act({ { "cmd", "tap" }, { "id", "bulkEdit.changeGroup" } });
    time.advance(1);
    ASSERT_NE(screen.groupSelectNav(), nullptr);
    EXPECT_EQ(navigation->presentedViewController(), screen.groupSelectNav());
    const auto& groups = tessaro::Utility::sharedUtility().getAllGroupObject();
    int toRow = 0;
    for (std::size_t i = 2, row = 1; i < groups.size(); ++i, ++row) {
        if (groups[i].groupID == to)
            toRow = static_cast<int>(row);
    }
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", toRow } });
    act({ { "cmd", "tap" }, { "id", "groupSelect.done" } });
    time.advance(1);
    EXPECT_EQ(screen.groupSelectNav(), nullptr);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
    EXPECT_TRUE(screen.arrSelectedContact().empty());
    EXPECT_EQ(visibleNames(screen), (std::vector<std::string> { "Baker Ben" }));

    // Delete the one left; Done brings the counts of the group list up to date.
    tick(screen, "Baker Ben");
    // (With every text its own key, the bar is too narrow to show Delete.)
    screen.deleteSelectedContact();
    act({ { "cmd", "button" }, { "title", "OK" } });
    time.advance(1);
    EXPECT_FALSE(tessaro::Contact::contactWithRecordID(ben.recordID()));
    screen.editDone();
    time.advance(1);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(countInGroupList(from), "0");
    EXPECT_EQ(countInGroupList(to), "2");
    EXPECT_EQ(countInGroupList("-1"), "2");
}

} // namespace
} // namespace groupstest
