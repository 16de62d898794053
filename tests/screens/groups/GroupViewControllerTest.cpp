// The group list as the groups tab shows it: its rows and their live counts, colours and
// tags; the count of persons in no group against everyone grouped; the row menu on each
// device and what its buttons open; opening a group behind the busy overlay; a new person
// and the chooser after it; group editing and member editing coming back; reloads.

#include "GroupTabFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "app/RootGeometry.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Window.h"
#include "screens/groups/GroupContactsViewController.h"
#include "screens/groups/GroupPersons.h"
#include "screens/groups/GroupEditViewController.h"
#include "screens/groups/GroupViewController.h"
#include "store/DataManager.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

namespace groupstest {
namespace {

using tessaro::GroupViewController;

struct Row {
    std::string name;
    std::string badge;
    bool localTag { false };
};

class GroupListTest : public GroupTabFixture {
protected:
    // The rows as the table shows them, checked by the shared table checker.
    std::vector<Row> rows()
    {
        auto contents = testsupport::checkTable(*groupList().myTableView());
        std::vector<Row> result;
        if (contents.sections.empty())
            return result;
        for (const auto& row : contents.sections.front().rows) {
            Row shown;
            // Name, badge, then the tag of a local group; the menu button shows its picture.
            const auto& texts = row.allTexts;
            shown.name = texts.size() > 0 ? texts[0] : std::string();
            shown.badge = texts.size() > 1 ? texts[1] : std::string();
            shown.localTag = std::find(texts.begin(), texts.end(), "  Local") != texts.end();
            result.push_back(shown);
        }
        return result;
    }

    std::vector<std::string> names()
    {
        std::vector<std::string> result;
        for (const auto& row : rows())
            result.push_back(row.name);
        return result;
    }

    // The badge of the row whose name is given.
    std::string badgeOf(const std::string& name)
    {
        for (const auto& row : rows()) {
            if (row.name == name)
                return row.badge;
        }
        ADD_FAILURE() << "no row named " << name;
        return {};
    }

    // The labels of the row's cell on screen, in the order the row builds them.
    std::vector<ui::Label*> labelsOfRow(int row)
    {
        auto& table = *groupList().myTableView();
        table.scrollToRowAtIndexPath({ 0, row }, ui::TableViewScrollPosition::Middle, false);
        table.layoutIfNeeded();
        std::vector<ui::Label*> labels;
        if (auto cell = table.cellForRowAtIndexPath({ 0, row })) {
            for (const auto& view : cell->contentView().subviews()) {
                if (auto* label = dynamic_cast<ui::Label*>(view.get()); label && !label->text().empty())
                    labels.push_back(label);
            }
        }
        return labels;
    }

    ui::ActionSheet* shownSheet() { return dynamic_cast<ui::ActionSheet*>(ui::ButtonPanel::topmostVisible()); }

    std::vector<std::string> sheetTitles()
    {
        std::vector<std::string> titles;
        if (auto* sheet = shownSheet()) {
            for (int i = 0; i < sheet->numberOfButtons(); ++i)
                titles.push_back(sheet->buttonTitleAtIndex(i));
        }
        return titles;
    }

    int rowOf(const std::string& name)
    {
        auto all = names();
        auto found = std::find(all.begin(), all.end(), name);
        EXPECT_NE(found, all.end()) << "no row named " << name;
        return static_cast<int>(found - all.begin());
    }
};

// ---- Rows, counts and colours ----

TEST_F(GroupListTest, WithoutAnyGroupTheListHoldsExactlyTheFourPseudoGroups)
{
    launch();
    auto shown = rows();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(names(), (std::vector<std::string> { "GroupAllContacts", "GroupNogroupPeople", "NoNumberGroupTitle", "NoEmailGroupTitle" }));
    for (const auto& row : shown) {
        EXPECT_EQ(row.badge, "0") << row.name;
        EXPECT_FALSE(row.localTag) << row.name;
    }
    EXPECT_EQ(groupList().navigationItem().title(), "GroupTitle");
}

TEST_F(GroupListTest, GroupsOfBothKindsShowTheirOwnNamesCountsColoursAndOnlyLocalOnesTheTag)
{
    auto ann = addPerson({ "Ann", "Archer", { "111" }, { "ann@example.com" } });
    auto ben = addPerson({ "Ben", "Baker", { "222" }, {} });
    auto cat = addPerson({ "Cat", "Cole", {}, { "cat@example.com" } });
    addPerson("Dan", "Dale");
    auto friends = addAddressBookGroup("Friends", { ann, ben });
    // Giving Friends its colour builds the catalogue, which places Friends; Club comes next
    // and Plain, first seen by the catalogue at launch, last.
    setColorIndex(friends, 5);
    addLocalGroup("Club", { ben, cat }, 41);
    addAddressBookGroup("Plain", { cat });
    launch();

    EXPECT_EQ(names(), (std::vector<std::string> { "GroupAllContacts", "GroupNogroupPeople", "Friends", "Club", "Plain",
                                                   "NoNumberGroupTitle", "NoEmailGroupTitle" }));
    EXPECT_EQ(badgeOf("GroupAllContacts"), "4");
    EXPECT_EQ(badgeOf("GroupNogroupPeople"), "1");
    EXPECT_EQ(badgeOf("Friends"), "2");
    EXPECT_EQ(badgeOf("Plain"), "1");
    EXPECT_EQ(badgeOf("Club"), "2");
    EXPECT_EQ(badgeOf("NoNumberGroupTitle"), "2");
    EXPECT_EQ(badgeOf("NoEmailGroupTitle"), "2");
    for (const auto& row : rows())
        EXPECT_EQ(row.localTag, row.name == "Club") << row.name;

    auto colourOf = [this](const std::string& name) { return labelsOfRow(rowOf(name)).front()->textColor(); };
    EXPECT_EQ(colourOf("Friends"), *tessaro::Utility::getGroupColorwithIndex(5));
    EXPECT_EQ(colourOf("Club"), ui::Color::redColor());
    // No colour chosen: black; the pseudo-groups are always grey.
    EXPECT_EQ(colourOf("Plain"), ui::Color::blackColor());
    for (const char* pseudo : { "GroupAllContacts", "GroupNogroupPeople", "NoNumberGroupTitle", "NoEmailGroupTitle" })
        EXPECT_EQ(colourOf(pseudo), ui::Color::grayColor()) << pseudo;
}

TEST_F(GroupListTest, PersonsInNoGroupAndPersonsGroupedAtLeastOnceMakeEveryone)
{
    std::vector<tessaro::Contact> people;
    for (const char* name : { "P1", "P2", "P3", "P4", "P5", "P6" })
        people.push_back(addPerson(name));
    // P2 is in three groups of both kinds, P3 in a local group only, P6 in none.
    addAddressBookGroup("One", { people[0], people[1] });
    addAddressBookGroup("Two", { people[1], people[3] });
    addLocalGroup("Local", { people[1], people[2], people[4] });
    launch();

    auto all = std::stoi(badgeOf("GroupAllContacts"));
    auto noGroup = std::stoi(badgeOf("GroupNogroupPeople"));
    EXPECT_EQ(all, 6);
    EXPECT_EQ(noGroup, 1);
    EXPECT_EQ(noGroup, groupList().getNoGroupContactsCount());
    EXPECT_EQ(tessaro::GroupPersons::noGroupContacts().size(), 1u);
    EXPECT_EQ(tessaro::GroupPersons::noGroupContacts().front().recordID(), people[5].recordID());
}

TEST_F(GroupListTest, ALocalGroupCountsOnlyMembersTheAddressBookStillHas)
{
    auto stay = addPerson("Stay");
    auto gone = addPerson("Gone");
    addPerson("Free");
    addLocalGroup("Local", { stay, gone });
    launch();
    EXPECT_EQ(badgeOf("Local"), "2");

    deletePersonOutside(gone.recordID());
    // What the return to the foreground does: a new handle, then every screen reloads.
    tessaro::Utility::sharedUtility().resetObject();
    root().reloadAllView();
    time.advance(1);
    EXPECT_EQ(badgeOf("Local"), "1");
    EXPECT_EQ(badgeOf("GroupAllContacts"), "2");
    // The member row of the deleted person stays stored, and takes nobody away from those
    // in no group.
    EXPECT_EQ(badgeOf("GroupNogroupPeople"), "1");
}

TEST_F(GroupListTest, AReloadShowsGroupsAddedAndDeletedMeanwhileAndNothingElseIsKept)
{
    auto ann = addPerson("Ann");
    auto old = addAddressBookGroup("Old", { ann });
    launch();
    EXPECT_EQ(badgeOf("GroupNogroupPeople"), "0");

    EXPECT_TRUE(tessaro::AddressBookGroup::groupWithRecordID(old)->removeSelfFromAddressBook());
    addLocalGroup("New", { ann });
    addPerson("Bea");
    // Nothing shows until the list reloads.
    EXPECT_EQ(names().size(), 5u);
    groupList().reloadViewData();
    EXPECT_EQ(names(), (std::vector<std::string> { "GroupAllContacts", "GroupNogroupPeople", "New", "NoNumberGroupTitle", "NoEmailGroupTitle" }));
    EXPECT_EQ(badgeOf("GroupAllContacts"), "2");
    EXPECT_EQ(badgeOf("GroupNogroupPeople"), "1");
}

TEST_F(GroupListTest, RowContentsMoveRightByTenPointsFromSystemSeven)
{
    addLocalGroup("Local");
    for (const char* version : { "7.0", "6.1" }) {
        SCOPED_TRACE(version);
        foundation::Device::current().setSystemVersion(version);
        double u = std::string(version) == "7.0" ? 10 : 0;
        launch();
        auto labels = labelsOfRow(2);
        ASSERT_EQ(labels.size(), 3u);
        EXPECT_EQ(labels[0]->frame(), ui::Rect(5 + u, 0, 205, 42));
        EXPECT_EQ(labels[1]->frame(), ui::Rect(216 + u, 9, 32, 24));
        EXPECT_EQ(labels[2]->frame(), ui::Rect(0 + u, 1, 100, 8));
        EXPECT_EQ(groupList().myTableView()->frame().height(), 317 + tessaro::Utility::iPhone4to5SubSize());
        quit();
    }
}

// ---- The row menu ----

struct MenuCase {
    const char* model;
    bool pseudoGroup;
    std::vector<std::string> titles;
    int sheetTag;
    // What each button index opens; empty: nothing.
    std::vector<std::string> opens;
};

TEST_F(GroupListTest, TheRowMenuOffersWhatTheDeviceCanDoAndEachButtonOpensItsOwnScreen)
{
    const std::vector<MenuCase> cases {
        { "iPhone", false, { "SendGroupSMSTitle", "SendGroupMailTitle", "GroupMembersEditTitle", "CancelButtonTitle" }, 2,
          { "groupSMS", "groupMail", "memberEdit", "" } },
        { "iPhone", true, { "SendGroupSMSTitle", "SendGroupMailTitle", "CancelButtonTitle" }, 1, { "groupSMS", "groupMail", "" } },
        { "iPod touch", false, { "SendGroupMailTitle", "GroupMembersEditTitle", "CancelButtonTitle" }, 2, { "groupMail", "memberEdit", "" } },
        // The cancel button sits where member editing sits on a real group: it opens nothing.
        { "iPod touch", true, { "SendGroupMailTitle", "CancelButtonTitle" }, 1, { "groupMail", "" } },
    };
    addLocalGroup("Local");
    for (const auto& menu : cases) {
        for (std::size_t index = 0; index < menu.opens.size(); ++index) {
            SCOPED_TRACE(std::string(menu.model) + (menu.pseudoGroup ? " pseudo-group" : " real group") + ", button " + std::to_string(index));
            foundation::Device::current().setModel(menu.model);
            launch();
            int row = menu.pseudoGroup ? 1 : 2;
            act({ { "cmd", "tap" }, { "id", "groups.menu." + std::to_string(row) } });
            ASSERT_NE(shownSheet(), nullptr);
            EXPECT_EQ(sheetTitles(), menu.titles);
            EXPECT_EQ(shownSheet()->tag(), menu.sheetTag);
            EXPECT_EQ(shownSheet()->title(), menu.pseudoGroup ? "GroupNogroupPeople" : "Local");
            act({ { "cmd", "button" }, { "index", static_cast<int>(index) } });
            time.advance(1);

            const std::string& expected = menu.opens[index];
            if (expected.empty()) {
                EXPECT_TRUE(opened.empty());
            } else {
                ASSERT_EQ(opened.size(), 1u);
                EXPECT_EQ(opened.front().kind, expected);
                ASSERT_TRUE(opened.front().group);
                EXPECT_EQ(opened.front().group->groupID, groupList().arrGroups()[static_cast<std::size_t>(row)].groupID);
                auto screen = opened.front().screen.lock();
                ASSERT_TRUE(screen);
                if (expected == "memberEdit") {
                    // Presented over everything, in a navigation controller with an opaque bar.
                    EXPECT_EQ(groupList().memberEditViewController(), screen.get());
                    EXPECT_NE(screen->navigationController(), root().groupNavController());
                    EXPECT_NE(screen->navigationController()->presentingViewController(), nullptr);
                } else {
                    EXPECT_EQ(root().groupNavController()->topViewController(), screen.get());
                }
            }
            quit();
        }
    }
}

TEST_F(GroupListTest, MemberEditingHearsEveryReloadWhileOpenAndIsLetGoWhenDone)
{
    addLocalGroup("Local");
    launch();
    act({ { "cmd", "tap" }, { "id", "groups.menu.2" } });
    act({ { "cmd", "button" }, { "index", 2 } });
    time.advance(1);
    ASSERT_EQ(opened.size(), 1u);
    auto editor = opened.front().screen.lock();
    ASSERT_TRUE(editor);
    EXPECT_EQ(opened.front().delegate, static_cast<tessaro::GroupMemberEditViewControllerDelegate*>(&groupList()));

    root().reloadAllView();
    time.advance(1);
    EXPECT_EQ(editor->reloads, 1);

    addLocalGroup("Added meanwhile");
    root().tabController()->view()->setFrame({ 0, 0, 320, 568 });
    groupList().groupMemberEditDone(*editor);
    editor.reset();
    time.advance(1);
    EXPECT_EQ(groupList().memberEditViewController(), nullptr);
    EXPECT_TRUE(opened.front().screen.expired());
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(root().tabController()->view()->frame(), tessaro::RootGeometry::tabControllerFrame());
    EXPECT_EQ(rowOf("Added meanwhile"), 3);
}

// ---- Opening a group ----

TEST_F(GroupListTest, OpeningAGroupShowsTheBusyOverlayFirstAndLoadsOnTheNextTurn)
{
    addPerson("Ann");
    launch();
    auto* tabView = root().tabController()->view().get();
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    // The driver lets the loop turn once after a command, so the load has run: the overlay
    // was up before it and is gone after it.
    EXPECT_EQ(groupContacts() != nullptr, true);
    EXPECT_EQ(groupList().waitView()->superview(), nullptr);

    root().groupNavController()->popToRootViewControllerAnimated(false);
    time.advance(1);
    groupList().didSelectRowAtIndexPath(*groupList().myTableView(), { 0, 1 });
    EXPECT_EQ(groupList().waitView()->superview(), tabView);
    EXPECT_EQ(groupContacts(), nullptr);
    EXPECT_FALSE(groupList().myTableView()->indexPathForSelectedRow());
    time.advance(0);
    ASSERT_NE(groupContacts(), nullptr);
    EXPECT_EQ(groupContacts()->groupObj().groupID, "-2");
    EXPECT_EQ(groupList().waitView()->superview(), nullptr);
}

TEST_F(GroupListTest, AListClosedBeforeTheDeferredLoadRunsOpensNothing)
{
    launch();
    auto list = root().groupNavController()->viewControllers().front();
    groupList().didSelectRowAtIndexPath(*groupList().myTableView(), { 0, 0 });
    root().groupNavController()->setViewControllers({ std::make_shared<tessaro::CommonViewController>() }, false);
    std::weak_ptr<ui::ViewController> watched = list;
    list.reset();
    EXPECT_TRUE(watched.expired());
    time.advance(1);
    EXPECT_EQ(groupContacts(), nullptr);
}

// ---- A new person, group editing ----

TEST_F(GroupListTest, ANewPersonIsSavedAndTheChooserLiesOverTheScreenWithNoGroupTicked)
{
    launch();
    act({ { "cmd", "tap" }, { "id", "groups.add" } });
    time.advance(1);
    act({ { "cmd", "tap" }, { "id", "newperson.firstName" } });
    act({ { "cmd", "type" }, { "text", "Neu" } });
    root().tabController()->view()->setFrame({ 0, 0, 320, 568 });
    act({ { "cmd", "tap" }, { "id", "newperson.done" } });
    time.advance(1);

    auto found = tessaro::AddressBookQueries::contactsMatchingName("Neu");
    ASSERT_EQ(found.size(), 1u);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().kind, "groupSelect");
    EXPECT_EQ(opened.front().contactID, found.front().recordID());
    EXPECT_FALSE(opened.front().group);
    EXPECT_TRUE(opened.front().isAutoRemove);
    auto* chooser = groupList().groupSelectNav();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->view()->superview(), &window());
    EXPECT_EQ(chooser->view()->frame(), ui::Rect(0, 69, 320, 411 + 88));
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(root().tabController()->view()->frame(), tessaro::RootGeometry::tabControllerFrame());

    // The chooser reports back and takes itself off the screen: the counts follow.
    chooser->view()->removeFromSuperview();
    groupList().groupSelectedDone(*opened.front().screen.lock());
    EXPECT_EQ(badgeOf("GroupAllContacts"), "1");
}

TEST_F(GroupListTest, ANewPersonReplacesAChooserStillLyingThere)
{
    launch();
    std::vector<std::shared_ptr<ui::View>> chooserViews;
    for (const char* name : { "First", "Second" }) {
        groupList().addContat();
        time.advance(1);
        act({ { "cmd", "tap" }, { "id", "newperson.firstName" } });
        act({ { "cmd", "type" }, { "text", name } });
        act({ { "cmd", "tap" }, { "id", "newperson.done" } });
        time.advance(1);
        ASSERT_NE(groupList().groupSelectNav(), nullptr);
        chooserViews.push_back(groupList().groupSelectNav()->view());
    }
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened.front().screen.expired());
    EXPECT_EQ(chooserViews[0]->superview(), nullptr);
    EXPECT_EQ(chooserViews[1]->superview(), &window());
    EXPECT_EQ(tessaro::AddressBookQueries::contactsCount(), 2u);
}

TEST_F(GroupListTest, CancellingTheNewPersonFormOpensNoChooserAndSavesNobody)
{
    launch();
    act({ { "cmd", "tap" }, { "id", "groups.add" } });
    time.advance(1);
    act({ { "cmd", "tap" }, { "id", "newperson.firstName" } });
    act({ { "cmd", "type" }, { "text", "Never" } });
    act({ { "cmd", "tap" }, { "id", "newperson.cancel" } });
    time.advance(1);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(groupList().groupSelectNav(), nullptr);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(tessaro::AddressBookQueries::contactsCount(), 0u);
}

TEST_F(GroupListTest, GroupEditingIsPresentedOverEverythingAndItsDoneRebuildsTheList)
{
    launch();
    act({ { "cmd", "tap" }, { "id", "groups.edit" } });
    time.advance(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().kind, "groupEdit");
    auto editor = opened.front().screen.lock();
    ASSERT_TRUE(editor);
    EXPECT_EQ(root().presentedViewController(), editor->navigationController());

    addLocalGroup("Made in the editor");
    groupList().groupEditDone(*editor);
    editor.reset();
    time.advance(1);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(rowOf("Made in the editor"), 2);
}

TEST_F(GroupListTest, TheApplicationsOwnScreensOpenFromTheBarAndTheMenu)
{
    addLocalGroup("Local");
    launch(OpenedScreens::Application);
    // Every frame of one kind of view the driver shows, in painting order.
    auto framesOf = [&](const std::string& type) {
        std::vector<nlohmann::json> frames;
        std::function<void(const nlohmann::json&)> walk = [&](const nlohmann::json& node) {
            if (node.value("type", "") == type)
                frames.push_back(node["frame"]);
            for (const auto& child : node.value("children", nlohmann::json::array()))
                walk(child);
        };
        walk(act({ { "cmd", "dump" } })["tree"]);
        return frames;
    };
    // A modal screen's bar lies below the status bar, its content below the bar, down to
    // the bottom of the screen and no further.
    auto expectModalBelowTheStatusBar = [&] {
        auto bars = framesOf("NavigationBar");
        ASSERT_FALSE(bars.empty());
        EXPECT_EQ(bars.back(), (nlohmann::json { 0, 20, 320, 44 }));
        for (const auto& table : framesOf("TableView")) {
            EXPECT_GE(table[1].get<double>(), 64);
            EXPECT_LE(table[1].get<double>() + table[3].get<double>(), 568);
        }
    };
    act({ { "cmd", "tap" }, { "id", "groups.edit" } });
    time.advance(1);
    expectModalBelowTheStatusBar();
    ASSERT_NE(root().presentedViewController(), nullptr);
    EXPECT_NE(dynamic_cast<tessaro::CommonViewController*>(
                  dynamic_cast<ui::NavigationController*>(root().presentedViewController())->topViewController()),
              nullptr);
    root().dismissViewControllerAnimated(false);
    act({ { "cmd", "tap" }, { "id", "groups.menu.2" } });
    act({ { "cmd", "button" }, { "title", "GroupMembersEditTitle" } });
    time.advance(1);
    EXPECT_NE(groupList().memberEditViewController(), nullptr);
    expectModalBelowTheStatusBar();
    auto toolbars = framesOf("Toolbar");
    ASSERT_FALSE(toolbars.empty());
    EXPECT_EQ(toolbars.back()[1].get<double>() + toolbars.back()[3].get<double>(), 568) << "the filter bar ends at the bottom";
}

// ---- While access to the contacts is refused ----

TEST_F(GroupListTest, WhileAccessIsRefusedAddressBookGroupsKeepTheirStoredRowsAndOfferNothingThatCannotWork)
{
    auto ann = addPerson("Ann");
    auto work = addAddressBookGroup("Work", { ann });
    addAddressBookGroup("Home");
    setColorIndex(work, 5);
    addLocalGroup("Club");
    auto& database = tessaro::DataManager::sharedDataBase();
    auto storedRows = [&database] {
        std::vector<std::tuple<std::string, int, int>> rows;
        for (const auto& group : database.selectSystemGroup())
            rows.emplace_back(group.groupID, group.colorIndex, group.sortIndex);
        return rows;
    };
    const auto before = storedRows();
    ASSERT_EQ(before.size(), 2u);

    contactstore::AccessControl::setAccessRefused(true);
    tessaro::Utility::sharedUtility().resetObject();
    launch(OpenedScreens::Application);
    // The refusal arrives from a thread of its own; its alert is closed first.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible()) && std::chrono::steady_clock::now() < deadline) {
        time.advance(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible()));
    act({ { "cmd", "button" }, { "index", 0 } });
    time.advance(1);

    // The list says why the address-book groups have no name, and their menus offer no
    // member editing, which could show or change nothing; the local group keeps its own.
    EXPECT_EQ(names(), (std::vector<std::string> { "GroupAllContacts", "GroupNogroupPeople", "GroupNoAccessTitle",
                                                   "GroupNoAccessTitle", "Club", "NoNumberGroupTitle", "NoEmailGroupTitle" }));
    act({ { "cmd", "tap" }, { "id", "groups.menu.2" } });
    EXPECT_EQ(sheetTitles(), (std::vector<std::string> { "SendGroupSMSTitle", "SendGroupMailTitle", "CancelButtonTitle" }));
    act({ { "cmd", "button" }, { "index", 2 } });
    time.advance(1);
    EXPECT_EQ(groupList().memberEditViewController(), nullptr);
    act({ { "cmd", "tap" }, { "id", "groups.menu.4" } });
    EXPECT_EQ(sheetTitles().size(), 4u);
    act({ { "cmd", "button" }, { "title", "CancelButtonTitle" } });
    time.advance(1);

    // The editor leaves them out of editing and says why; nothing can delete, rename,
    // recolour or move them, while the local group can still be changed.
    act({ { "cmd", "tap" }, { "id", "groups.edit" } });
    time.advance(1);
    EXPECT_NE(act({ { "cmd", "dump" } }).dump().find("GroupNoAccessNote"), std::string::npos);
    EXPECT_FALSE(tryAct({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } }).value("ok", true));
    EXPECT_FALSE(tryAct({ { "cmd", "tap" }, { "id", "groupEdit.edit.0" } }).value("ok", true));
    EXPECT_FALSE(tryAct({ { "cmd", "moveRow" }, { "from", { 0, 2 } }, { "to", { 0, 0 } } }).value("ok", true));
    EXPECT_TRUE(act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 2 } }).value("deleted", false));
    time.advance(1);
    // A new address-book group is refused for the refusal's reason, not for want of an account.
    act({ { "cmd", "tap" }, { "id", "groupEdit.add" } });
    time.advance(1);
    act({ { "cmd", "tap" }, { "id", "groupForm.name" } });
    act({ { "cmd", "type" }, { "text", "Office" } });
    act({ { "cmd", "tap" }, { "id", "groupForm.done" } });
    auto* refusal = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->message(), "CalAccessErrMessage");
    act({ { "cmd", "button" }, { "index", 0 } });
    act({ { "cmd", "tap" }, { "id", "groupForm.cancel" } });
    time.advance(1);
    act({ { "cmd", "tap" }, { "id", "groupEdit.done" } });
    time.advance(1);
    EXPECT_EQ(storedRows(), before);

    // Once access is back the groups are where they were, in their colours.
    quit();
    contactstore::AccessControl::setAccessRefused(false);
    tessaro::Utility::sharedUtility().resetObject();
    launch(OpenedScreens::Application);
    EXPECT_EQ(names(), (std::vector<std::string> { "GroupAllContacts", "GroupNogroupPeople", "Work", "Home",
                                                   "NoNumberGroupTitle", "NoEmailGroupTitle" }));
    EXPECT_EQ(badgeOf("Work"), "1");
    EXPECT_EQ(storedRows(), before);
}

} // namespace
} // namespace groupstest
