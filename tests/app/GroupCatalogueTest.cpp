// The group catalogue and the stored address-book group rows it keeps in line with the book.

#include "AppFixture.h"

#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "store/DataManager.h"

#include <algorithm>

using tessaro::DataManager;
using tessaro::GroupKinds;
using tessaro::GroupObject;
using tessaro::Utility;

namespace apptest {
namespace {

using Ids = std::vector<std::string>;

class GroupCatalogueTest : public AppFixture {
protected:
    std::vector<GroupObject> build() { return Utility::sharedUtility().getAllGroupObject(); }
    static DataManager& database() { return DataManager::sharedDataBase(); }

    // Local groups and address-book groups number themselves independently, so an
    // identifier alone may name one of each.
    static const GroupObject& entry(const std::vector<GroupObject>& catalogue, const std::string& id, int groupType = 0)
    {
        static const GroupObject missing;
        auto found = std::find_if(catalogue.begin(), catalogue.end(),
                                  [&](const GroupObject& g) { return g.groupID == id && g.groupType == groupType; });
        return found == catalogue.end() ? missing : *found;
    }
    void setStoredColour(const std::string& id, int colorIndex)
    {
        for (auto row : database().selectSystemGroup()) {
            if (row.groupID == id) {
                row.colorIndex = colorIndex;
                ASSERT_TRUE(database().updateGroup(row));
                return;
            }
        }
        FAIL() << "no stored row " << id;
    }
    void setLocalSortIndex(const std::string& id, int sortIndex)
    {
        for (auto group : database().selectLocalGroup()) {
            if (group.groupID == id) {
                group.sortIndex = sortIndex;
                ASSERT_TRUE(database().updateLocalGroup(group));
                return;
            }
        }
        FAIL() << "no local group " << id;
    }
};

TEST_F(GroupCatalogueTest, AnEmptyBookGivesExactlyAllContactsThenContactsInNoGroup)
{
    auto catalogue = build();
    ASSERT_EQ(identifiers(catalogue), (Ids { "-1", "-2" }));
    for (const auto& pseudo : catalogue) {
        EXPECT_EQ(pseudo.sortIndex, 0);
        EXPECT_EQ(pseudo.colorIndex, -1);
        EXPECT_EQ(pseudo.groupType, 0);
        EXPECT_FALSE(pseudo.isOpen);
    }
    EXPECT_TRUE(database().selectSystemGroup().empty());
}

TEST_F(GroupCatalogueTest, TheFirstBuildStoresEveryGroupOfTheBookInItsOrderWithoutColour)
{
    auto friends = std::to_string(addGroupOutside("Friends"));
    auto work = std::to_string(addGroupOutside("Work"));
    reopenAddressBook();

    auto catalogue = build();
    EXPECT_EQ(identifiers(catalogue), (Ids { "-1", "-2", friends, work }));
    auto rows = database().selectSystemGroup();
    ASSERT_EQ(identifiers(rows), (Ids { friends, work }));
    EXPECT_LT(rows[0].sortIndex, rows[1].sortIndex);
    EXPECT_EQ(rows[0].colorIndex, -1);
    EXPECT_EQ(rows[1].colorIndex, -1);

    // A second build finds everything in place and changes nothing.
    EXPECT_EQ(build(), catalogue);
}

TEST_F(GroupCatalogueTest, AGroupDeletedOutsideLosesItsRowWhileTheOthersKeepColourAndPlace)
{
    auto friends = addGroupOutside("Friends");
    auto work = std::to_string(addGroupOutside("Work"));
    reopenAddressBook();
    build();
    setStoredColour(work, 7);
    int workSortIndex = entry(build(), work).sortIndex;

    deleteGroupOutside(friends);
    reopenAddressBook();
    auto catalogue = build();

    EXPECT_EQ(identifiers(catalogue), (Ids { "-1", "-2", work }));
    EXPECT_EQ(entry(catalogue, work).colorIndex, 7);
    EXPECT_EQ(entry(catalogue, work).sortIndex, workSortIndex);
    EXPECT_EQ(identifiers(database().selectSystemGroup()), (Ids { work }));
}

TEST_F(GroupCatalogueTest, AGroupAddedOutsideComesLastWithoutColourAfterLocalGroupsToo)
{
    auto friends = std::to_string(addGroupOutside("Friends"));
    reopenAddressBook();
    build();
    setStoredColour(friends, 3);
    auto club = addLocalGroup("Club");

    auto family = std::to_string(addGroupOutside("Family"));
    reopenAddressBook();
    auto catalogue = build();

    EXPECT_EQ(identifiers(catalogue), (Ids { "-1", "-2", friends, club, family }));
    EXPECT_EQ(entry(catalogue, family).colorIndex, -1);
    EXPECT_GT(entry(catalogue, family).sortIndex, entry(catalogue, club, 1).sortIndex);
    EXPECT_EQ(entry(catalogue, friends).colorIndex, 3);
}

TEST_F(GroupCatalogueTest, LocalGroupsTakeTheirPlaceBySortIndexAfterAnEqualOne)
{
    auto friends = std::to_string(addGroupOutside("Friends"));
    auto work = std::to_string(addGroupOutside("Work"));
    reopenAddressBook();
    build();
    auto club = addLocalGroup("Club");
    auto choir = addLocalGroup("Choir");

    // Both local groups were stored after the address-book groups.
    EXPECT_EQ(identifiers(build()), (Ids { "-1", "-2", friends, work, club, choir }));

    int friendsSortIndex = entry(build(), friends).sortIndex;
    setLocalSortIndex(choir, friendsSortIndex);
    auto catalogue = build();
    EXPECT_EQ(identifiers(catalogue), (Ids { "-1", "-2", friends, choir, work, club }));
    EXPECT_EQ(entry(catalogue, choir, 1).groupType, 1);
    EXPECT_EQ(entry(catalogue, choir, 1).localGroupName, "Choir");

    // A local group with the pseudo-groups' sort index still follows them.
    setLocalSortIndex(club, 0);
    EXPECT_EQ(identifiers(build()), (Ids { "-1", "-2", club, friends, choir, work }));
}

TEST_F(GroupCatalogueTest, StoredPseudoGroupRowsFromAnOlderFileVanish)
{
    auto friends = std::to_string(addGroupOutside("Friends"));
    reopenAddressBook();
    ASSERT_TRUE(database().insertGroup(GroupKinds::pseudoGroup("-1")));
    ASSERT_TRUE(database().insertGroup(GroupKinds::pseudoGroup("-2")));

    auto catalogue = build();
    EXPECT_EQ(identifiers(catalogue), (Ids { "-1", "-2", friends }));
    EXPECT_EQ(identifiers(database().selectSystemGroup()), (Ids { friends }));
}

TEST_F(GroupCatalogueTest, RowsOfGroupsTheBookNoLongerHasAreDroppedAtTheFirstBuildToo)
{
    auto friends = std::to_string(addGroupOutside("Friends"));
    reopenAddressBook();
    GroupObject stale;
    stale.groupID = "4711";
    ASSERT_TRUE(database().insertGroup(stale));
    stale.groupID = "not a number";
    ASSERT_TRUE(database().insertGroup(stale));

    // Rows exist, so the book's groups are not copied wholesale: the stale rows go and the
    // missing group gets its row.
    EXPECT_EQ(identifiers(build()), (Ids { "-1", "-2", friends }));
    EXPECT_EQ(identifiers(database().selectSystemGroup()), (Ids { friends }));
}

TEST_F(GroupCatalogueTest, WhileAccessIsRefusedStoredRowsKeepTheirColourAndPlace)
{
    auto friends = std::to_string(addGroupOutside("Friends"));
    auto work = std::to_string(addGroupOutside("Work"));
    reopenAddressBook();
    build();
    setStoredColour(work, 12);
    auto before = database().selectSystemGroup();

    contactstore::AccessControl::setAccessRefused(true);
    reopenAddressBook();
    auto refused = build();
    EXPECT_EQ(identifiers(refused), (Ids { "-1", "-2", friends, work }));
    EXPECT_EQ(database().selectSystemGroup(), before);
    // A pseudo-group row is still never stored, refused or not.
    EXPECT_EQ(std::count(refused.begin(), refused.end(), GroupKinds::pseudoGroup("-1")), 1);

    contactstore::AccessControl::setAccessRefused(false);
    reopenAddressBook();
    auto granted = build();
    EXPECT_EQ(identifiers(granted), (Ids { "-1", "-2", friends, work }));
    EXPECT_EQ(entry(granted, work).colorIndex, 12);
    EXPECT_EQ(database().selectSystemGroup(), before);
}

TEST_F(GroupCatalogueTest, WithoutAnAddressBookAtAllStoredRowsAreKept)
{
    auto friends = std::to_string(addGroupOutside("Friends"));
    reopenAddressBook();
    build();
    Utility::sharedUtility().setAddressBook(nullptr);
    EXPECT_EQ(identifiers(build()), (Ids { "-1", "-2", friends }));
    EXPECT_EQ(identifiers(database().selectSystemGroup()), (Ids { friends }));
}

TEST_F(GroupCatalogueTest, GroupNamesComeFromTheirOwnPlaceByKind)
{
    foundation::Device::current().setLanguage("keys");
    auto friends = addGroupOutside("Friends");
    reopenAddressBook();
    auto& utility = Utility::sharedUtility();

    GroupObject local;
    local.groupID = "-1";
    local.groupType = 1;
    local.localGroupName = "Choir";
    // A local group is named by itself even when its row identifier reads like a pseudo-group.
    EXPECT_EQ(utility.getGroupName(local), "Choir");

    struct Case {
        std::string id;
        std::string name;
    };
    for (const auto& [id, name] : std::vector<Case> {
             { "-1", "GroupAllContacts" },
             { " -1", "GroupAllContacts" },
             { "-2", "GroupNogroupPeople" },
             { "-100", "NoNumberGroupTitle" },
             { "-101", "NoEmailGroupTitle" },
             { std::to_string(friends), "Friends" },
             { "4711", "" },
         }) {
        EXPECT_EQ(utility.getGroupName(GroupKinds::pseudoGroup(id)), name) << id;
    }
}

TEST(GroupKindsTest, PseudoLocalAndAddressBookGroupsAreToldApartAsTheScreensDo)
{
    auto make = [](std::string id, int type) {
        GroupObject group;
        group.groupID = std::move(id);
        group.groupType = type;
        return group;
    };
    struct Case {
        GroupObject group;
        bool pseudo;
        bool local;
        bool addressBook;
    };
    for (const auto& c : std::vector<Case> {
             { make("-1", 0), true, false, false },
             { make("-2", 0), true, false, false },
             { make("-01", 0), true, false, false },
             { make("-2abc", 0), true, false, false },
             { make("-100", 0), true, false, false },
             { make("-101", 0), true, false, false },
             { make("-100 ", 0), false, false, true },
             { make("-1", 1), true, false, false },
             { make("5", 1), false, true, false },
             { make("5", 0), false, false, true },
             { make("-3", 0), false, false, true },
         }) {
        EXPECT_EQ(GroupKinds::isPseudoGroup(c.group), c.pseudo) << c.group.groupID;
        EXPECT_EQ(GroupKinds::isLocalGroup(c.group), c.local) << c.group.groupID;
        EXPECT_EQ(GroupKinds::isAddressBookGroup(c.group), c.addressBook) << c.group.groupID;
    }
}

TEST(GroupKindsTest, StoredIdentifiersAreReadLeniently)
{
    EXPECT_EQ(GroupKinds::intValue("42"), 42);
    EXPECT_EQ(GroupKinds::intValue("  -7x"), -7);
    EXPECT_EQ(GroupKinds::intValue("+9"), 9);
    EXPECT_EQ(GroupKinds::intValue(""), 0);
    EXPECT_EQ(GroupKinds::intValue("abc"), 0);
    EXPECT_EQ(GroupKinds::intValue("-"), 0);
    EXPECT_EQ(GroupKinds::intValue("99999999999999999999"), 2147483647);
    EXPECT_EQ(GroupKinds::intValue("-99999999999999999999"), -2147483647 - 1);
}

} // namespace
} // namespace apptest
