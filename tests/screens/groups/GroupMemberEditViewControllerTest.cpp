#include "GroupEditingFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Person.h"
#include "platform/ui/Button.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupMemberEditViewController.h"
#include "store/DataManager.h"

#include <gmock/gmock.h>

namespace groupstest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using contactstore::RecordID;
using tessaro::GroupMemberEditViewController;
using tessaro::GroupObject;

class SpyMemberDelegate : public tessaro::GroupMemberEditViewControllerDelegate {
public:
    void groupMemberEditDone(tessaro::CommonViewController&) override { ++doneCalls; }
    int doneCalls { 0 };
};

class GroupMemberEditViewControllerTest : public GroupEditingFixture {
protected:
    void SetUp() override
    {
        GroupEditingFixture::SetUp();
        ann = addPerson("Ann", "Archer").recordID();
        bob = addPerson("Bob", "Baker").recordID();
        cid = addPerson("Cid", "Baxter").recordID();
    }

    GroupMemberEditViewController& openFor(const GroupObject& group)
    {
        screen = std::make_shared<GroupMemberEditViewController>(&delegate, group);
        present(screen);
        return *screen;
    }
    static GroupObject addressBookGroupObject(RecordID group)
    {
        GroupObject object;
        object.groupID = std::to_string(group);
        return object;
    }
    static GroupObject localGroupObject(const std::string& group)
    {
        GroupObject object;
        object.groupID = group;
        object.groupType = tessaro::GroupKinds::kLocalGroupType;
        return object;
    }
    // Where a person's row is in the main list (names show family name first in the test language).
    ui::IndexPath rowOf(const std::string& name)
    {
        // Found in the screen's sections rather than among the cells: hidden rows have none.
        testsupport::checkTable(*screen->tableView());
        const auto& sections = screen->sections();
        for (std::size_t s = 0; s < sections.size(); ++s) {
            for (std::size_t r = 0; r < sections[s].size(); ++r) {
                if (sections[s][r].contactName() == name)
                    return { static_cast<int>(s), static_cast<int>(r) };
            }
        }
        ADD_FAILURE() << name << " is not listed";
        return { 0, 0 };
    }
    void touch(const std::string& name)
    {
        auto path = rowOf(name);
        act({ { "cmd", "tapRow" }, { "section", path.section }, { "row", path.row } });
    }
    bool ticked(const std::string& name)
    {
        auto cell = screen->tableView()->cellForRowAtIndexPath(rowOf(name));
        return cell && cell->accessoryType() == ui::TableViewCellAccessoryType::Checkmark;
    }
    double heightOf(const std::string& name) { return screen->tableView()->rectForRowAtIndexPath(rowOf(name)).height(); }

    RecordID ann { -1 };
    RecordID bob { -1 };
    RecordID cid { -1 };
    SpyMemberDelegate delegate;
    std::shared_ptr<GroupMemberEditViewController> screen;
};

TEST_F(GroupMemberEditViewControllerTest, ListsEveryoneInSectionsWithTicksAtMembers)
{
    auto work = addAddressBookGroup("Work");
    auto group = tessaro::AddressBookGroup::groupWithRecordID(work);
    ASSERT_TRUE(group->addMember(*tessaro::Contact::contactWithRecordID(bob)));
    ASSERT_TRUE(tessaro::SharedAddressBook::get()->save());
    openFor(addressBookGroupObject(work));

    auto contents = testsupport::checkTable(*screen->tableView());
    EXPECT_THAT(contents.headers(), ElementsAre("A", "B"));
    EXPECT_EQ(contents.indexTitles.front(), ui::TableViewIndexSearch);
    EXPECT_THAT(firstTexts(contents, 1), ElementsAre("Baker Bob", "Baxter Cid"));
    EXPECT_FALSE(ticked("Archer Ann"));
    EXPECT_TRUE(ticked("Baker Bob"));
    EXPECT_EQ(screen->title(), "Work");

    act({ { "cmd", "tap" }, { "id", "memberEdit.done" } });
    EXPECT_EQ(delegate.doneCalls, 1);
}

TEST_F(GroupMemberEditViewControllerTest, TickingAndUntickingAnAddressBookGroupLeavesTheBookAsItWas)
{
    auto work = addAddressBookGroup("Work");
    auto group = tessaro::AddressBookGroup::groupWithRecordID(work);
    ASSERT_TRUE(group->addMember(*tessaro::Contact::contactWithRecordID(ann)));
    ASSERT_TRUE(tessaro::SharedAddressBook::get()->save());
    openFor(addressBookGroupObject(work));

    touch("Baxter Cid");
    EXPECT_TRUE(ticked("Baxter Cid"));
    restart();
    EXPECT_EQ(addressBookMembers(work), (std::set<RecordID> { ann, cid }));

    touch("Baxter Cid");
    EXPECT_FALSE(ticked("Baxter Cid"));
    touch("Archer Ann");
    touch("Archer Ann");
    EXPECT_TRUE(ticked("Archer Ann"));
    EXPECT_FALSE(tessaro::SharedAddressBook::get()->hasUnsavedChanges());
    restart();
    EXPECT_EQ(addressBookMembers(work), (std::set<RecordID> { ann }));
}

TEST_F(GroupMemberEditViewControllerTest, LocalGroupMembershipIsOneStoredRowPerPerson)
{
    std::string club = addLocalGroup("Club");
    openFor(localGroupObject(club));
    touch("Archer Ann");
    touch("Baker Bob");
    touch("Archer Ann");
    EXPECT_FALSE(ticked("Archer Ann"));
    EXPECT_TRUE(ticked("Baker Bob"));
    restart();
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { bob }));
}

TEST_F(GroupMemberEditViewControllerTest, ExchangePersonsAreRefusedForAddressBookGroupsOnly)
{
    auto exchange = addSource(contactstore::kSourceTypeExchange);
    auto eve = addPerson("Eve", "Exley", exchange).recordID();
    auto work = addAddressBookGroup("Work");
    openFor(addressBookGroupObject(work));
    auto contents = testsupport::checkTable(*screen->tableView());
    auto path = rowOf("Exley Eve");
    EXPECT_THAT(contents.sections[static_cast<std::size_t>(path.section)].rows[static_cast<std::size_t>(path.row)].allTexts,
                ::testing::Contains("Exchange"));

    touch("Exley Eve");
    EXPECT_EQ(shownAlertMessage(), "IsExchangePeopleCanNotGroupTitle");
    EXPECT_FALSE(ticked("Exley Eve"));
    act({ { "cmd", "button" }, { "title", "OK" } });
    dismissTop();

    std::string club = addLocalGroup("Club");
    openFor(localGroupObject(club));
    touch("Exley Eve");
    EXPECT_EQ(shownAlertMessage(), "");
    EXPECT_TRUE(ticked("Exley Eve"));

    restart();
    EXPECT_THAT(addressBookMembers(work), IsEmpty());
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { eve }));
}

TEST_F(GroupMemberEditViewControllerTest, AddressBookRefusalIsReportedAndTheTickShowsTheTruth)
{
    // A person of another account cannot join a group of the local account.
    auto carddav = addSource(contactstore::kSourceTypeCardDAV);
    addPerson("Dan", "Dale", carddav);
    auto work = addAddressBookGroup("Work");
    openFor(addressBookGroupObject(work));
    touch("Dale Dan");
    EXPECT_FALSE(shownAlertMessage().empty());
    EXPECT_FALSE(ticked("Dale Dan"));
    EXPECT_FALSE(tessaro::SharedAddressBook::get()->hasUnsavedChanges());
    restart();
    EXPECT_THAT(addressBookMembers(work), IsEmpty());
}

TEST_F(GroupMemberEditViewControllerTest, FiltersHideRowsAndAChangedPersonLeavesAMomentLater)
{
    std::string club = addLocalGroup("Club");
    auto& database = tessaro::DataManager::sharedDataBase();
    ASSERT_TRUE(database.insertLocalGroupMember(tessaro::GroupKinds::intValue(club), std::to_string(ann)));
    openFor(localGroupObject(club));

    act({ { "cmd", "tap" }, { "text", "HaveGroupMemberTitle" } });
    EXPECT_EQ(heightOf("Archer Ann"), 48);
    EXPECT_EQ(heightOf("Baker Bob"), 0);
    touch("Archer Ann");
    EXPECT_EQ(heightOf("Archer Ann"), 48);
    time.advance(0.1);
    EXPECT_EQ(heightOf("Archer Ann"), 0);

    act({ { "cmd", "tap" }, { "text", "NoGroupMemberTitle" } });
    EXPECT_EQ(heightOf("Archer Ann"), 48);
    touch("Baker Bob");
    time.advance(0.1);
    EXPECT_EQ(heightOf("Baker Bob"), 0);
    EXPECT_EQ(heightOf("Baxter Cid"), 48);

    act({ { "cmd", "tap" }, { "text", "All" } });
    EXPECT_EQ(heightOf("Baker Bob"), 48);
    testsupport::checkTable(*screen->tableView());
}

TEST_F(GroupMemberEditViewControllerTest, SearchShowsEveryMatchWithItsTickWhateverTheFilter)
{
    std::string club = addLocalGroup("Club");
    ASSERT_TRUE(tessaro::DataManager::sharedDataBase().insertLocalGroupMember(tessaro::GroupKinds::intValue(club),
                                                                               std::to_string(bob)));
    openFor(localGroupObject(club));
    act({ { "cmd", "tap" }, { "text", "HaveGroupMemberTitle" } });
    act({ { "cmd", "tap" }, { "id", "memberEdit.search.field" } });
    act({ { "cmd", "type" }, { "text", "ba ker" } });
    time.advance(1);
    ASSERT_TRUE(screen->searchDisplayController()->isActive());
    auto& results = *screen->searchDisplayController()->searchResultsTableView();
    auto contents = testsupport::checkTable(results);
    EXPECT_THAT(firstTexts(contents), ElementsAre("Baker Bob"));
    EXPECT_TRUE(contents.indexTitles.empty());

    act({ { "cmd", "type" }, { "backspace", 10 } });
    act({ { "cmd", "type" }, { "text", "b" } });
    contents = testsupport::checkTable(results);
    EXPECT_THAT(firstTexts(contents), ElementsAre("Baker Bob", "Baxter Cid"));
    EXPECT_EQ(results.rectForRowAtIndexPath({ 0, 1 }).height(), 48);
    // Ticking in the results stores at once and shows the tick there.
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 1 } });
    EXPECT_EQ(results.cellForRowAtIndexPath({ 0, 1 })->accessoryType(), ui::TableViewCellAccessoryType::Checkmark);

    auto* cancel = screen->searchBar()->cancelButton();
    ASSERT_NE(cancel, nullptr);
    cancel->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    time.advance(1);
    EXPECT_FALSE(screen->isSearching());
    EXPECT_EQ(testsupport::checkTable(*screen->tableView()).rowCount(), 3);
    restart();
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { bob, cid }));
}

TEST_F(GroupMemberEditViewControllerTest, MemberDeletedFromTheBookIsNeitherListedNorTicked)
{
    std::string club = addLocalGroup("Club");
    auto& database = tessaro::DataManager::sharedDataBase();
    ASSERT_TRUE(database.insertLocalGroupMember(tessaro::GroupKinds::intValue(club), std::to_string(cid)));
    auto book = tessaro::SharedAddressBook::get();
    ASSERT_TRUE(book->removeRecord(book->personWithRecordID(cid)) && book->save());
    openFor(localGroupObject(club));
    EXPECT_THAT(screen->groupContacts(), IsEmpty());
    EXPECT_EQ(testsupport::checkTable(*screen->tableView()).rowCount(), 2);
}

} // namespace
} // namespace groupstest
