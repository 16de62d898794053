#include "GroupEditingFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Constants.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "screens/groups/GroupSelectViewController.h"
#include "store/DataManager.h"

#include <gmock/gmock.h>

namespace groupstest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using contactstore::RecordID;
using tessaro::Contact;
using tessaro::GroupObject;
using tessaro::GroupSelectViewController;

class SpySelectDelegate : public tessaro::GroupSelectViewControllerDelegate {
public:
    void groupSelectedDone(tessaro::CommonViewController&) override { ++doneCalls; }
    void groupSelectedCancel(tessaro::CommonViewController&) override { ++cancelCalls; }
    int doneCalls { 0 };
    int cancelCalls { 0 };
};

class GroupSelectViewControllerTest : public GroupEditingFixture {
protected:
    void SetUp() override
    {
        GroupEditingFixture::SetUp();
        ann = addPerson("Ann");
        bob = addPerson("Bob");
        work = addAddressBookGroup("Work");
        realGroups();
        club = addLocalGroup("Club");
    }

    GroupSelectViewController& openChooser(RecordID contactID, std::optional<GroupObject> group,
                                           std::optional<std::vector<Contact>> persons = std::nullopt)
    {
        chooser = std::make_shared<GroupSelectViewController>(&delegate, contactID, std::move(group), false, std::move(persons));
        present(chooser);
        return *chooser;
    }
    GroupObject groupNamed(const std::string& name)
    {
        for (const auto& group : realGroups()) {
            if (tessaro::Utility::sharedUtility().getGroupName(group) == name)
                return group;
        }
        ADD_FAILURE() << "no group " << name;
        return {};
    }
    std::vector<bool> ticks()
    {
        std::vector<bool> shown;
        window->layoutIfNeeded();
        auto& table = *chooser->tableView();
        for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
            auto cell = table.cellForRowAtIndexPath({ 0, row });
            shown.push_back(cell && cell->accessoryType() == ui::TableViewCellAccessoryType::Checkmark);
        }
        return shown;
    }
    void choose(int row) { act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", row } }); }
    void done() { act({ { "cmd", "tap" }, { "id", "groupSelect.done" } }); }
    void putIntoWork(const Contact& person)
    {
        auto group = tessaro::AddressBookGroup::groupWithRecordID(work);
        ASSERT_TRUE(group->addMember(person));
        ASSERT_TRUE(tessaro::SharedAddressBook::get()->save());
    }
    void putIntoClub(const Contact& person)
    {
        ASSERT_TRUE(tessaro::DataManager::sharedDataBase().insertLocalGroupMember(tessaro::GroupKinds::intValue(club),
                                                                                   std::to_string(person.recordID())));
    }

    Contact ann = Contact::contact();
    Contact bob = Contact::contact();
    RecordID work { -1 };
    std::string club;
    SpySelectDelegate delegate;
    std::shared_ptr<GroupSelectViewController> chooser;
};

TEST_F(GroupSelectViewControllerTest, ListsNoGroupRowThenRealGroupsWithTheCallersGroupTicked)
{
    openChooser(ann.recordID(), groupNamed("Club"));
    auto contents = testsupport::checkTable(*chooser->tableView());
    EXPECT_THAT(firstTexts(contents), ElementsAre("GroupNoneTitle", "Work", "Club"));
    EXPECT_THAT(ticks(), ElementsAre(false, false, true));
    choose(1);
    EXPECT_THAT(ticks(), ElementsAre(false, true, false));
    choose(1);
    EXPECT_THAT(ticks(), ElementsAre(false, true, false));
    choose(0);
    EXPECT_THAT(ticks(), ElementsAre(true, false, false));
    EXPECT_FALSE(chooser->selectedGroup());
}

TEST_F(GroupSelectViewControllerTest, WithoutRealGroupsOnlyTheTickedNoGroupRowShows)
{
    tessaro::DataManager::sharedDataBase().deleteLocalGroup(groupNamed("Club"));
    ASSERT_TRUE(tessaro::AddressBookGroup::groupWithRecordID(work)->removeSelfFromAddressBook());
    openChooser(ann.recordID(), std::nullopt);
    EXPECT_THAT(firstTexts(testsupport::checkTable(*chooser->tableView())), ElementsAre("GroupNoneTitle"));
    EXPECT_THAT(ticks(), ElementsAre(true));
}

TEST_F(GroupSelectViewControllerTest, OnePersonIsAddedAndNeverTakenOutOfAnotherGroup)
{
    putIntoClub(ann);
    openChooser(ann.recordID(), std::nullopt);
    choose(1);
    done();
    EXPECT_EQ(delegate.doneCalls, 1);
    dismissTop();
    // Choosing the group the person is in already leaves one membership.
    openChooser(ann.recordID(), groupNamed("Club"));
    done();
    restart();
    EXPECT_EQ(addressBookMembers(work), (std::set<RecordID> { ann.recordID() }));
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { ann.recordID() }));
    EXPECT_EQ(tessaro::DataManager::sharedDataBase().selectLocalGroupMemberIDsWithID(tessaro::GroupKinds::intValue(club)).size(), 1u);
}

TEST_F(GroupSelectViewControllerTest, CancelStoresNothing)
{
    openChooser(ann.recordID(), std::nullopt);
    choose(2);
    act({ { "cmd", "tap" }, { "id", "groupSelect.cancel" } });
    EXPECT_EQ(delegate.cancelCalls, 1);
    EXPECT_EQ(delegate.doneCalls, 0);
    restart();
    EXPECT_THAT(localMembers(club), IsEmpty());
}

TEST_F(GroupSelectViewControllerTest, SeveralPersonsFromNoGroupAreOnlyAdded)
{
    putIntoWork(bob);
    openChooser(-1, tessaro::GroupKinds::pseudoGroup(tessaro::GroupKinds::kNoGroupGroupID), std::vector<Contact> { ann, bob });
    EXPECT_THAT(ticks(), ElementsAre(true, false, false));
    choose(2);
    done();
    restart();
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { ann.recordID(), bob.recordID() }));
    EXPECT_EQ(addressBookMembers(work), (std::set<RecordID> { bob.recordID() }));
}

TEST_F(GroupSelectViewControllerTest, SeveralPersonsToTheNoGroupRowAreOnlyRemoved)
{
    putIntoWork(ann);
    putIntoWork(bob);
    putIntoClub(bob);
    openChooser(-1, groupNamed("Work"), std::vector<Contact> { ann, bob });
    choose(0);
    done();
    restart();
    EXPECT_THAT(addressBookMembers(work), IsEmpty());
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { bob.recordID() }));
    EXPECT_TRUE(tessaro::Contact::contactWithRecordID(ann.recordID()));
}

TEST_F(GroupSelectViewControllerTest, SeveralPersonsMoveBetweenGroupsOfBothKinds)
{
    putIntoClub(ann);
    putIntoClub(bob);
    openChooser(-1, groupNamed("Club"), std::vector<Contact> { ann });
    choose(1);
    done();
    dismissTop();
    restart();
    EXPECT_EQ(addressBookMembers(work), (std::set<RecordID> { ann.recordID() }));
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { bob.recordID() }));

    // And back again; Done without a touch from a real group leaves the persons where they are.
    openChooser(-1, groupNamed("Work"), std::vector<Contact> { ann });
    choose(2);
    done();
    dismissTop();
    openChooser(-1, groupNamed("Club"), std::vector<Contact> { ann, bob });
    done();
    restart();
    EXPECT_THAT(addressBookMembers(work), IsEmpty());
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { ann.recordID(), bob.recordID() }));
}

TEST_F(GroupSelectViewControllerTest, OneExchangePersonBlocksAMoveIntoAnAddressBookGroupButNotIntoALocalOne)
{
    auto exchange = addSource(contactstore::kSourceTypeExchange);
    auto eve = addPerson("Eve", {}, exchange);
    putIntoClub(ann);
    openChooser(-1, groupNamed("Club"), std::vector<Contact> { ann, eve, bob });
    choose(1);
    done();
    EXPECT_EQ(shownAlertMessage(), "IsExchangePeopleCanNotGroupTitle");
    EXPECT_EQ(delegate.doneCalls, 0);
    act({ { "cmd", "button" }, { "index", 0 } });
    restart();
    EXPECT_THAT(addressBookMembers(work), IsEmpty());
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { ann.recordID() }));

    // Still open: another choice goes through.
    choose(0);
    done();
    EXPECT_EQ(delegate.doneCalls, 1);
    dismissTop();

    openChooser(-1, tessaro::GroupKinds::pseudoGroup(tessaro::GroupKinds::kNoGroupGroupID), std::vector<Contact> { eve });
    choose(2);
    done();
    EXPECT_EQ(delegate.doneCalls, 2);
    dismissTop();
    // From the no-group list with nothing touched: nothing to refuse, nothing stored.
    openChooser(-1, tessaro::GroupKinds::pseudoGroup(tessaro::GroupKinds::kNoGroupGroupID), std::vector<Contact> { eve });
    done();
    EXPECT_EQ(delegate.doneCalls, 3);
    restart();
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { eve.recordID() }));

    // One person of Exchange into an address-book group: refused too.
    dismissTop();
    openChooser(eve.recordID(), groupNamed("Work"));
    done();
    EXPECT_EQ(shownAlertMessage(), "IsExchangePeopleCanNotGroupTitle");
    EXPECT_THAT(addressBookMembers(work), IsEmpty());
}

TEST_F(GroupSelectViewControllerTest, LaidOverTheScreenItSlidesAwayAndTakesItselfOff)
{
    chooser = std::make_shared<GroupSelectViewController>(&delegate, ann.recordID(), std::nullopt, true, std::nullopt);
    auto navigation = std::make_shared<ui::NavigationController>(chooser);
    auto overlay = navigation->view();
    overlay->setFrame({ 0, 69, 320, 411 });
    window->addSubview(overlay);
    time.advance(0);
    choose(2);
    done();
    EXPECT_EQ(delegate.doneCalls, 1);
    EXPECT_EQ(overlay->superview(), window.get());
    // The opener may let go of the chooser at once; the view still slides out and goes.
    navigation.reset();
    chooser.reset();
    time.advance(GroupSelectViewController::kSlideOutDuration + 0.1);
    EXPECT_EQ(overlay->superview(), nullptr);
    restart();
    EXPECT_EQ(localMembers(club), (std::set<RecordID> { ann.recordID() }));
}

} // namespace
} // namespace groupstest
