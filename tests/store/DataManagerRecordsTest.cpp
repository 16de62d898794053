// The stored records: the order new rows take, what each list returns and in which order,
// what the changes touch and leave, and rows that older or damaged files may hold.

#include "store/DataManager.h"
#include "StoreTestSupport.h"

#include <climits>

using storetest::RawDatabase;
using tessaro::DataManager;
using tessaro::FavoriteObject;
using tessaro::GroupObject;
using tessaro::MemoObject;
using namespace std::chrono_literals;

namespace {

class StoredRecords : public storetest::StoreTest {
protected:
    StoredRecords() { db.setClock([this] { return now; }); }

    std::vector<std::string> favoriteIDs() const
    {
        std::vector<std::string> ids;
        for (auto& favorite : db.selectFavorite())
            ids.push_back(favorite.contactID);
        return ids;
    }

    DataManager db { file() };
    std::chrono::system_clock::time_point now { std::chrono::sys_days { std::chrono::year { 2024 } / 3 / 1 } + 250ms };
};

} // namespace

TEST_F(StoredRecords, EmptyTablesGiveZeroSoFirstRowsGetOne)
{
    EXPECT_EQ(db.getMaxSortIndex(), 0);
    EXPECT_EQ(db.getMaxSortIndexGroup(), 0);
    EXPECT_EQ(db.getMaxSortIndexMemo(), 0);
    EXPECT_EQ(db.getRecentMaxSortIndex(), 0);

    ASSERT_TRUE(db.insertFavorite("5"));
    ASSERT_TRUE(db.insertGroup({ .groupID = "3", .sortIndex = 40 }));
    ASSERT_TRUE(db.insertMemo({ .memoID = 9, .memo = "m", .sortIndex = 40 }));
    ASSERT_TRUE(db.insertRecent("5"));
    EXPECT_EQ(db.selectFavorite().at(0).sortIndex, 1);
    EXPECT_EQ(db.selectSystemGroup().at(0).sortIndex, 1);
    EXPECT_EQ(db.selectAllMemo().at(0).sortIndex, 1);
    EXPECT_EQ(db.selectRecent().at(0).sortIndex, 1);
}

TEST_F(StoredRecords, BothGroupKindsDrawFromOneOrder)
{
    ASSERT_TRUE(db.insertGroup({ .groupID = "21" }));
    ASSERT_TRUE(db.updateGroup({ .groupID = "21", .sortIndex = 5 }));
    ASSERT_TRUE(db.insertLocalGroup({ .localGroupName = "Club" }));
    auto club = db.selectLocalGroup().at(0);
    club.sortIndex = 7;
    ASSERT_TRUE(db.updateLocalGroup(club));
    EXPECT_EQ(db.getMaxSortIndexGroup(), 7);

    ASSERT_TRUE(db.insertGroup({ .groupID = "22" }));
    EXPECT_EQ(db.selectSystemGroup().back(), (GroupObject { .groupID = "22", .sortIndex = 8 }));
    ASSERT_TRUE(db.insertLocalGroup({ .localGroupName = "Band" }));
    EXPECT_EQ(db.selectLocalGroup().back().sortIndex, 9);
}

TEST_F(StoredRecords, AddressBookGroupRowsKeepTheirColoursAndMatchByNumber)
{
    GroupObject work { .groupID = "17", .colorIndex = 4, .colorR = 0.2f, .colorG = 0.4f, .colorB = 1.0f, .isOpen = true, .groupType = 1 };
    ASSERT_TRUE(db.insertGroup(work));
    auto stored = db.selectSystemGroup();
    ASSERT_EQ(stored.size(), 1u);
    work.sortIndex = 1;
    work.groupType = 0; // rows of this table are address-book groups whatever the caller says
    EXPECT_EQ(stored[0], work);
    RawDatabase raw(file());
    EXPECT_EQ(raw.column("select group_type from contactgroup;"), std::vector<std::string> { "0" });

    // The identifier is matched as a number against the stored decimal text.
    ASSERT_TRUE(db.updateGroup({ .groupID = " +17", .sortIndex = 3, .colorIndex = 1 }));
    EXPECT_EQ(db.selectSystemGroup()[0], (GroupObject { .groupID = "17", .sortIndex = 3, .colorIndex = 1 }));
    ASSERT_TRUE(db.updateGroup({ .groupID = "99999999999", .sortIndex = 8 }));
    EXPECT_EQ(db.selectSystemGroup()[0].sortIndex, 3);

    ASSERT_TRUE(db.deleteGroup({ .groupID = "17" }));
    EXPECT_TRUE(db.selectSystemGroup().empty());
}

TEST_F(StoredRecords, LocalGroupsKeepNamesAndNeverReuseIdentifiers)
{
    const std::string name = "Ő'Brien \"family\"; drop table memo; 家族";
    ASSERT_TRUE(db.insertLocalGroup({ .groupID = "500", .colorIndex = 2, .localGroupName = name }));
    ASSERT_TRUE(db.insertLocalGroup({ .localGroupName = "Second" }));
    auto groups = db.selectLocalGroup();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0], (GroupObject { .groupID = "1", .sortIndex = 1, .colorIndex = 2, .groupType = 1, .localGroupName = name }));
    EXPECT_EQ(groups[1].groupID, "2");

    ASSERT_TRUE(db.insertLocalGroupMember(2, "8"));
    ASSERT_TRUE(db.deleteLocalGroup(groups[1]));
    ASSERT_TRUE(db.insertLocalGroup({ .localGroupName = "Third" }));
    auto after = db.selectLocalGroup();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1].groupID, "3");
    EXPECT_EQ(after[1].localGroupName, "Third");
    // The deleted group's members stay behind, and the new group does not inherit them.
    EXPECT_EQ(db.selectLocalGroupMemberIDsWithID(2), std::vector<std::int32_t> { 8 });
    EXPECT_TRUE(db.selectLocalGroupMemberIDsWithID(3).empty());

    auto renamed = after[0];
    renamed.localGroupName = "Renamed";
    renamed.isOpen = true;
    ASSERT_TRUE(db.updateLocalGroup(renamed));
    EXPECT_EQ(db.selectLocalGroup()[0], renamed);
    EXPECT_EQ(RawDatabase(file()).column("select group_type from contactgroup_local;"), (std::vector<std::string> { "1", "1" }));
}

TEST_F(StoredRecords, LocalGroupMembersAreUniqueOrderedAsTextAndLeaveCleanly)
{
    for (auto id : { "9", "10", "9", "300" })
        ASSERT_TRUE(db.insertLocalGroupMember(1, id));
    ASSERT_TRUE(db.insertLocalGroupMember(2, "9"));
    RawDatabase(file()).exec("insert into contactgroup_local_member values (1, NULL, 0);");

    EXPECT_EQ(db.selectLocalGroupMemberIDsWithID(1), (std::vector<std::int32_t> { 10, 300, 9 }));
    EXPECT_EQ(db.selectLocalGroupMemberIDsWithID(2), std::vector<std::int32_t> { 9 });
    EXPECT_TRUE(db.selectLocalGroupMemberIDsWithID(3).empty());

    ASSERT_TRUE(db.deleteLocalGroupMember(1, "300"));
    EXPECT_EQ(db.selectLocalGroupMemberIDsWithID(1), (std::vector<std::int32_t> { 10, 9 }));
    ASSERT_TRUE(db.deleteLocalGroupMember("9"));
    EXPECT_EQ(db.selectLocalGroupMemberIDsWithID(1), std::vector<std::int32_t> { 10 });
    EXPECT_TRUE(db.selectLocalGroupMemberIDsWithID(2).empty());
}

TEST_F(StoredRecords, FavoritesAppendReorderAndLeave)
{
    for (auto id : { "3", "1", "2" })
        ASSERT_TRUE(db.insertFavorite(id));
    EXPECT_EQ(favoriteIDs(), (std::vector<std::string> { "3", "1", "2" }));
    EXPECT_EQ(db.selectFavorite("1"), (FavoriteObject { .contactID = "1", .sortIndex = 2 }));
    EXPECT_FALSE(db.selectFavorite("4"));
    EXPECT_FALSE(db.selectFavorite("1 "));

    // The screen writes each person's new position back, counting from 0 at the top.
    ASSERT_TRUE(db.updateFavorite({ .contactID = "2", .sortIndex = 0 }));
    ASSERT_TRUE(db.updateFavorite({ .contactID = "3", .sortIndex = 1 }));
    ASSERT_TRUE(db.updateFavorite({ .contactID = "1", .sortIndex = 2 }));
    EXPECT_EQ(favoriteIDs(), (std::vector<std::string> { "2", "3", "1" }));

    // Without a key a repeated insert adds a row; deleting the person removes them all.
    ASSERT_TRUE(db.insertFavorite("2"));
    EXPECT_EQ(db.selectFavorite().size(), 4u);
    m_log.clear();
    ASSERT_TRUE(db.deleteFavorite("2"));
    EXPECT_EQ(favoriteIDs(), (std::vector<std::string> { "3", "1" }));
    EXPECT_EQ(m_log.lines(), std::vector<std::string> { "delete query : delete from favorite where contact_id = ?;" });
}

TEST_F(StoredRecords, MemosListNewestFirstAndKeepTheirIdentity)
{
    for (auto text : { "first", "second", "third" })
        ASSERT_TRUE(db.insertMemo({ .memo = text }));
    auto memos = db.selectAllMemo();
    ASSERT_EQ(memos.size(), 3u);
    EXPECT_EQ(memos[0], (MemoObject { .memoID = 3, .memo = "third", .sortIndex = 3 }));
    EXPECT_EQ(memos[2].memo, "first");

    auto edited = *db.selectMemo(1);
    edited.memo = "first, edited\nwith a second line";
    edited.sortIndex = 10;
    ASSERT_TRUE(db.updateMemo(edited));
    EXPECT_EQ(db.selectMemo(1), edited);
    EXPECT_EQ(db.selectAllMemo()[0].memoID, 1);
    EXPECT_FALSE(db.selectMemo(99));

    m_log.clear();
    ASSERT_TRUE(db.deleteMemo(edited));
    EXPECT_FALSE(db.selectMemo(1));
    EXPECT_EQ(db.selectAllMemo().size(), 2u);
    EXPECT_TRUE(m_log.contains("delete query : delete from memo where memo_id = ?;"));
    // A new memo still heads the list after a delete.
    ASSERT_TRUE(db.insertMemo({ .memo = "fourth" }));
    EXPECT_EQ(db.selectAllMemo()[0].memo, "fourth");
}

TEST_F(StoredRecords, RecentCallsShowTheNewestHundredWithTheirTimes)
{
    for (int i = 1; i <= 150; ++i) {
        now += 1s;
        ASSERT_TRUE(db.insertRecent(i % 2 ? std::to_string(i) : "isphonenumber,0312345678"));
    }
    auto recents = db.selectRecent();
    ASSERT_EQ(recents.size(), 100u);
    EXPECT_EQ(recents.front().sortIndex, 150);
    EXPECT_EQ(recents.back().sortIndex, 51);
    EXPECT_EQ(recents.front().contactID, "isphonenumber,0312345678");
    EXPECT_EQ(recents[1].contactID, "149");
    auto drift = recents.front().callDate - now;
    EXPECT_LT(std::chrono::abs(drift), 1us);
    EXPECT_EQ(recents[1].callDate - recents.front().callDate, -1s);

    // Every call of the number goes, the rest stay stored, older ones included.
    m_log.clear();
    ASSERT_TRUE(db.deleteRecent("isphonenumber,0312345678"));
    EXPECT_TRUE(m_log.contains("delete query : delete from recent where contact_id = ?;"));
    recents = db.selectRecent();
    ASSERT_EQ(recents.size(), 75u);
    EXPECT_EQ(recents.back().contactID, "1");
}

TEST_F(StoredRecords, DamagedRowsDoNotOverflowOrCrash)
{
    {
        RawDatabase raw(file());
        raw.exec("insert into favorite values ('1', 2147483647);");
        raw.exec("insert into memo (sort_index, memo) values (99999999999, NULL);");
        raw.exec("insert into recent values (NULL, 1, 1e300), ('2', 2, -1e300), ('3', 3, NULL), ('4', 4, 'soon');");
        raw.exec("insert into contactgroup values (NULL, 1, NULL, NULL, NULL, 7, NULL, NULL);");
        raw.exec("insert into contactgroup_local_member values (1, 'abc', 0), (1, '-12', 0), (1, '99999999999', 0);");
    }
    ASSERT_TRUE(db.insertFavorite("2"));
    EXPECT_EQ(db.selectFavorite().back(), (FavoriteObject { .contactID = "2", .sortIndex = INT_MAX }));
    EXPECT_EQ(db.getMaxSortIndexMemo(), INT_MAX);
    ASSERT_TRUE(db.insertMemo({ .memo = "after" }));
    EXPECT_EQ(db.selectAllMemo().size(), 2u);

    auto recents = db.selectRecent();
    ASSERT_EQ(recents.size(), 4u);
    EXPECT_EQ(recents[3].contactID, "");
    EXPECT_GT(recents[3].callDate, now);
    EXPECT_LT(recents[2].callDate, std::chrono::system_clock::time_point {});
    EXPECT_EQ(recents[1].callDate, std::chrono::system_clock::time_point {});

    auto groups = db.selectSystemGroup();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (GroupObject { .sortIndex = 1, .colorIndex = 0, .isOpen = true }));
    EXPECT_EQ(db.selectLocalGroupMemberIDsWithID(1), (std::vector<std::int32_t> { -12, INT_MAX, 0 }));
}

TEST_F(StoredRecords, RefusedWritesAreReportedAndLogged)
{
    RawDatabase(file()).exec("create trigger frozen before insert on favorite begin select raise(abort, 'favourites are frozen'); end;");
    m_log.clear();
    EXPECT_FALSE(db.insertFavorite("1"));
    EXPECT_TRUE(m_log.contains("error : favourites are frozen"));
    EXPECT_TRUE(db.selectFavorite().empty());

    RawDatabase(file()).exec("create trigger locked before insert on contactgroup begin select raise(abort, 'groups are locked'); end;");
    EXPECT_FALSE(db.insertGroup({ .groupID = "1" }));
    EXPECT_TRUE(m_log.contains("222error : groups are locked"));
}

TEST_F(StoredRecords, NoSettingsAreStored)
{
    EXPECT_FALSE(db.getSettings());
}
