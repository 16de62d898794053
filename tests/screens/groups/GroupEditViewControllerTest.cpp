#include "GroupEditingFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "main/Composition.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Constants.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "screens/groups/AddNewGroupViewController.h"
#include "screens/groups/GroupEditViewController.h"
#include "screens/groups/GroupViewController.h"
#include "store/DataManager.h"
#include "platform/foundation/SqliteStatement.h"

#include <sqlite3.h>

#include <gmock/gmock.h>

namespace groupstest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using tessaro::DataManager;
using tessaro::GroupEditViewController;
using tessaro::GroupObject;

class SpyEditDelegate : public tessaro::GroupEditViewControllerDelegate {
public:
    void groupEditDone(tessaro::CommonViewController&) override { ++doneCalls; }
    int doneCalls { 0 };
};

class GroupEditViewControllerTest : public GroupEditingFixture {
protected:
    GroupEditViewController& openEditor()
    {
        editor = std::make_shared<GroupEditViewController>(&delegate);
        present(editor);
        return *editor;
    }
    std::vector<std::string> shownNames() { return firstTexts(testsupport::checkTable(*editor->tableView())); }

    // Types the name into the open form and touches its Done button.
    void fillForm(const std::string& name)
    {
        act({ { "cmd", "tap" }, { "id", "groupForm.name" } });
        act({ { "cmd", "type" }, { "backspace", 200 } });
        if (!name.empty())
            act({ { "cmd", "type" }, { "text", name } });
        act({ { "cmd", "tap" }, { "id", "groupForm.done" } });
        time.advance(1);
    }
    tessaro::AddNewGroupViewController* openForm() const
    {
        auto* navigation = editor->navigationController()->presentedViewController();
        auto* stack = navigation ? dynamic_cast<ui::NavigationController*>(navigation) : nullptr;
        return stack ? dynamic_cast<tessaro::AddNewGroupViewController*>(stack->topViewController()) : nullptr;
    }

    SpyEditDelegate delegate;
    std::shared_ptr<GroupEditViewController> editor;
};

TEST_F(GroupEditViewControllerTest, ListsOnlyRealGroupsAndEmptyWithoutAny)
{
    openEditor();
    EXPECT_THAT(shownNames(), IsEmpty());

    addAddressBookGroup("Work");
    realGroups();
    addLocalGroup("Club");
    editor->getGroups();
    editor->tableView()->reloadData();
    auto contents = testsupport::checkTable(*editor->tableView());
    ASSERT_THAT(firstTexts(contents), ElementsAre("Work", "Club"));
    // Local groups carry their tag; address-book groups do not.
    EXPECT_THAT(contents.sections[0].rows[1].allTexts, ::testing::Contains("  Local"));
    EXPECT_THAT(contents.sections[0].rows[0].allTexts, ::testing::Not(::testing::Contains("  Local")));

    act({ { "cmd", "tap" }, { "id", "groupEdit.done" } });
    EXPECT_EQ(delegate.doneCalls, 1);
}

TEST_F(GroupEditViewControllerTest, MovingLastGroupToTopRenumbersBothKindsInOneSequenceAndSurvivesRestart)
{
    addAddressBookGroup("Work");
    addAddressBookGroup("Family");
    realGroups(); // the catalogue gives the address-book groups their rows, in order
    addLocalGroup("Club");
    addAddressBookGroup("Sports");
    realGroups();
    addLocalGroup("Band");
    openEditor();
    ASSERT_THAT(shownNames(), ElementsAre("Work", "Family", "Club", "Sports", "Band"));

    act({ { "cmd", "moveRow" }, { "from", { 0, 4 } }, { "to", { 0, 0 } } });
    EXPECT_THAT(shownNames(), ElementsAre("Band", "Work", "Family", "Club", "Sports"));

    restart();
    auto groups = realGroups();
    std::vector<std::pair<std::string, int>> order;
    for (const auto& group : groups)
        order.emplace_back(tessaro::Utility::sharedUtility().getGroupName(group), group.sortIndex);
    EXPECT_THAT(order, ElementsAre(std::pair<std::string, int> { "Band", 2 }, std::pair<std::string, int> { "Work", 3 },
                                   std::pair<std::string, int> { "Family", 4 }, std::pair<std::string, int> { "Club", 5 },
                                   std::pair<std::string, int> { "Sports", 6 }));

    // A middle move keeps local and address-book groups interleaved as shown.
    act({ { "cmd", "moveRow" }, { "from", { 0, 3 } }, { "to", { 0, 1 } } });
    restart();
    EXPECT_THAT(catalogueNames(), ElementsAre("Band", "Club", "Work", "Family", "Sports"));
}

TEST_F(GroupEditViewControllerTest, AMoveTheFileRefusesHalfWayIsUndoneOnScreenAndInTheFile)
{
    addAddressBookGroup("Work");
    addAddressBookGroup("Family");
    realGroups();
    addLocalGroup("Club");
    openEditor();
    // The file takes the address-book groups' new places and refuses the local group's.
    {
        sqlite3* raw = nullptr;
        sqlite3_open(DataManager::sharedDataBase().databaseFile().c_str(), &raw);
        ASSERT_TRUE(foundation::sqliteExec(raw, "CREATE TRIGGER refuse BEFORE UPDATE ON contactgroup_local "
                                                "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END;"));
        sqlite3_close(raw);
    }
    act({ { "cmd", "moveRow" }, { "from", { 0, 1 } }, { "to", { 0, 0 } } });
    EXPECT_THAT(shownNames(), ElementsAre("Work", "Family", "Club"));
    EXPECT_EQ(DataManager::sharedDataBase().lastWriteError(), "disk I/O error");
    restart();
    EXPECT_THAT(catalogueNames(), ElementsAre("Work", "Family", "Club"));
}

TEST_F(GroupEditViewControllerTest, GroupListOpensTheEditorAndShowsTheOrderSetThere)
{
    addAddressBookGroup("Work");
    realGroups();
    addLocalGroup("Club");
    addAddressBookGroup("Sports");
    auto list = tessaro::GroupViewController::create(tessaro::composition::groupScreens());
    window->setRootViewController(std::make_shared<ui::NavigationController>(list));
    time.advance(1);

    list->editGroup();
    time.advance(1);
    act({ { "cmd", "moveRow" }, { "from", { 0, 2 } }, { "to", { 0, 0 } } });
    act({ { "cmd", "tap" }, { "id", "groupEdit.done" } });
    time.advance(1);
    EXPECT_EQ(list->presentedViewController(), nullptr);

    std::vector<std::string> rows;
    for (const auto& group : list->arrGroups()) {
        if (tessaro::GroupKinds::isRealGroup(group))
            rows.push_back(tessaro::GroupViewController::rowName(group));
    }
    EXPECT_THAT(rows, ElementsAre("Sports", "Work", "Club"));
    testsupport::checkTable(*list->myTableView());
}

TEST_F(GroupEditViewControllerTest, DeletedLocalGroupsMembersNeverReachANewLocalGroup)
{
    setOnlySourceType(contactstore::kSourceTypeExchange);
    auto ann = addPerson("Ann", {}, tessaro::SharedAddressBook::get()->copyArrayOfAllSources().front());
    std::string club = addLocalGroup("Club");
    ASSERT_TRUE(DataManager::sharedDataBase().insertLocalGroupMember(tessaro::GroupKinds::intValue(club), std::to_string(ann.recordID())));
    openEditor();

    act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } });
    time.advance(1);
    EXPECT_THAT(shownNames(), IsEmpty());

    // With only an Exchange account the Add button goes straight to the form of a local group.
    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    EXPECT_EQ(ui::ButtonPanel::topmostVisible(), nullptr);
    fillForm("Choir");
    EXPECT_THAT(shownNames(), ElementsAre("Choir"));

    restart();
    auto groups = realGroups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_TRUE(tessaro::GroupKinds::isLocalGroup(groups[0]));
    EXPECT_NE(groups[0].groupID, club);
    EXPECT_THAT(localMembers(groups[0].groupID), IsEmpty());
    EXPECT_TRUE(DataManager::sharedDataBase().selectLocalGroupMemberWithID(tessaro::GroupKinds::intValue(groups[0].groupID)).empty());
}

TEST_F(GroupEditViewControllerTest, DeletedAddressBookGroupLeavesBookAndDatabaseButKeepsItsPersons)
{
    auto ann = addPerson("Ann");
    auto work = addAddressBookGroup("Work");
    auto group = tessaro::AddressBookGroup::groupWithRecordID(work);
    ASSERT_TRUE(group->addMember(ann));
    ASSERT_TRUE(tessaro::SharedAddressBook::get()->save());
    realGroups();
    addLocalGroup("Club");
    openEditor();

    act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } });
    time.advance(1);
    EXPECT_THAT(shownNames(), ElementsAre("Club"));

    restart();
    EXPECT_FALSE(tessaro::AddressBookGroup::groupWithRecordID(work));
    EXPECT_TRUE(tessaro::Contact::contactWithRecordID(ann.recordID()));
    EXPECT_TRUE(DataManager::sharedDataBase().selectSystemGroup().empty());
    EXPECT_THAT(catalogueNames(), ElementsAre("Club"));
}

TEST_F(GroupEditViewControllerTest, EditButtonsFollowTheirRowsAfterADeletionAbove)
{
    addLocalGroup("Club");
    addLocalGroup("Band");
    addLocalGroup("Choir");
    openEditor();
    act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } });
    // Before the fade ends the rows below have moved up without being built again: the
    // button built for the second row, now first, opens its own group, not the next one.
    act({ { "cmd", "tap" }, { "id", "groupEdit.edit.1" } });
    time.advance(1);
    ASSERT_NE(openForm(), nullptr);
    EXPECT_EQ(openForm()->nameField()->text(), "Band");
    act({ { "cmd", "tap" }, { "id", "groupForm.cancel" } });
    time.advance(1);
    // Once the fade is over the rows are built again and named by their new places.
    act({ { "cmd", "tap" }, { "id", "groupEdit.edit.1" } });
    time.advance(1);
    ASSERT_NE(openForm(), nullptr);
    EXPECT_EQ(openForm()->nameField()->text(), "Choir");
}

TEST_F(GroupEditViewControllerTest, AccountKindsDecideWhereANewGroupGoes)
{
    // Only a local account: an address-book group, straight away.
    openEditor();
    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    EXPECT_EQ(ui::ButtonPanel::topmostVisible(), nullptr);
    fillForm("Work");
    ASSERT_EQ(tessaro::AddressBookQueries::groups().size(), 1u);
    EXPECT_EQ(tessaro::AddressBookQueries::groups()[0].name(), "Work");

    // Exchange beside it: the sheet asks, and its cancel button creates nothing.
    addSource(contactstore::kSourceTypeExchange);
    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    auto* sheet = dynamic_cast<ui::ActionSheet*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "LocalSystemGroupDescription");
    act({ { "cmd", "button" }, { "title", "CancelButtonTitle" } });
    time.advance(1);
    EXPECT_EQ(openForm(), nullptr);

    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    act({ { "cmd", "button" }, { "title", "AddLocalGroupTitle" } });
    time.advance(1);
    fillForm("Club");
    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    act({ { "cmd", "button" }, { "title", "AddSystemGroupTitle" } });
    time.advance(1);
    fillForm("Family");

    restart();
    auto groups = realGroups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_THAT(catalogueNames(), ElementsAre("Work", "Club", "Family"));
    EXPECT_TRUE(tessaro::GroupKinds::isAddressBookGroup(groups[0]));
    EXPECT_TRUE(tessaro::GroupKinds::isLocalGroup(groups[1]));
    EXPECT_TRUE(tessaro::GroupKinds::isAddressBookGroup(groups[2]));
    EXPECT_EQ(tessaro::AddressBookQueries::groups().size(), 2u);
}

TEST_F(GroupEditViewControllerTest, AddressBookGroupWithoutAnyAccountForGroupsStoresNothingAndSaysSo)
{
    // A searched directory holds no groups, and it is the only account.
    setOnlySourceType(contactstore::kSourceTypeCardDAVSearch);
    openEditor();
    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    fillForm("Work");
    EXPECT_EQ(shownAlertMessage(), "NoAccountForGroupTitle");
    // The form stays open with the name, for Cancel or another try.
    ASSERT_NE(openForm(), nullptr);
    EXPECT_EQ(openForm()->nameField()->text(), "Work");
    restart();
    EXPECT_THAT(realGroups(), IsEmpty());
    EXPECT_TRUE(tessaro::AddressBookQueries::groups().empty());
}

TEST_F(GroupEditViewControllerTest, FormRefusesOnlyTheEmptyName)
{
    openEditor();
    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    fillForm("");
    EXPECT_EQ(shownAlertMessage(), "PleaseInputGroupName");
    ASSERT_NE(openForm(), nullptr);
    auto contents = testsupport::checkTable(*openForm()->tableView());
    EXPECT_EQ(contents.sections.size(), 2u);
    EXPECT_EQ(contents.sections[1].rows[0].text, "GroupColorSetButtonTitle");
    act({ { "cmd", "button" }, { "index", 0 } });
    fillForm("   ");
    EXPECT_EQ(openForm(), nullptr);
    restart();
    EXPECT_THAT(catalogueNames(), ElementsAre("   "));
}

TEST_F(GroupEditViewControllerTest, RenameAndRecolourOfBothKindsAreStored)
{
    auto work = addAddressBookGroup("Work");
    realGroups();
    std::string club = addLocalGroup("Club");
    openEditor();

    act({ { "cmd", "tap" }, { "id", "groupEdit.edit.0" } });
    time.advance(1);
    ASSERT_NE(openForm(), nullptr);
    EXPECT_FALSE(openForm()->isNew());
    EXPECT_EQ(openForm()->nameField()->text(), "Work");
    act({ { "cmd", "tapRow" }, { "section", 1 }, { "row", 0 } });
    EXPECT_FALSE(openForm()->pickerView()->isHidden());
    openForm()->pickerView()->userSelectRow(8, 0);
    EXPECT_EQ(openForm()->colorIndex(), 7);
    fillForm("Office");

    act({ { "cmd", "tap" }, { "id", "groupEdit.edit.1" } });
    time.advance(1);
    ASSERT_NE(openForm(), nullptr);
    EXPECT_EQ(openForm()->nameField()->text(), "Club");
    openForm()->pickerView()->userSelectRow(45, 0); // past the last row: ignored
    openForm()->pickerView()->userSelectRow(44, 0);
    fillForm("Chess Club");

    // Back to no colour: the picker's first row.
    act({ { "cmd", "tap" }, { "id", "groupEdit.edit.0" } });
    time.advance(1);
    EXPECT_EQ(openForm()->pickerView()->selectedRowInComponent(0), 8);
    openForm()->pickerView()->userSelectRow(0, 0);
    act({ { "cmd", "tap" }, { "id", "groupForm.done" } });
    time.advance(1);

    restart();
    auto groups = realGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(tessaro::AddressBookGroup::groupWithRecordID(work)->name(), "Office");
    EXPECT_EQ(groups[0].colorIndex, -1);
    EXPECT_EQ(groups[1].groupID, club);
    EXPECT_EQ(groups[1].localGroupName, "Chess Club");
    EXPECT_EQ(groups[1].colorIndex, 43);
    // A group without a colour is drawn in black.
    dismissTop();
    openEditor();
    editor->getGroups();
    editor->tableView()->reloadData();
    auto cell = editor->tableView()->cellForRowAtIndexPath({ 0, 0 });
    ASSERT_TRUE(cell);
    auto* name = dynamic_cast<ui::Label*>(cell->contentView().subviews().front().get());
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->textColor(), ui::Color::blackColor());
}

TEST_F(GroupEditViewControllerTest, CancelledFormStoresNothing)
{
    addLocalGroup("Club");
    openEditor();
    act({ { "cmd", "tap" }, { "id", "groupEdit.edit.0" } });
    time.advance(1);
    act({ { "cmd", "type" }, { "text", " and more" } });
    act({ { "cmd", "tap" }, { "id", "groupForm.cancel" } });
    time.advance(1);
    EXPECT_EQ(openForm(), nullptr);
    restart();
    EXPECT_THAT(catalogueNames(), ElementsAre("Club"));
}

} // namespace
} // namespace groupstest
