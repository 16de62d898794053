// Opening the database file: creation, upgrade of older files, files that cannot be used,
// and the shared instance.

#include "store/DataManager.h"
#include "StoreTestSupport.h"

#include "platform/foundation/DataLocations.h"

#include <fstream>
#include <iterator>

using storetest::RawDatabase;
using tessaro::DataManager;
using tessaro::GroupObject;
using tessaro::MemoObject;

namespace {

const std::map<std::string, std::string> kCurrentSchema {
    { "favorite", "CREATE TABLE favorite (contact_id text, sort_index integer)" },
    { "contactgroup", "CREATE TABLE contactgroup (group_id text, sort_index integer, color_r float, color_g float, color_b float, isopen integer, colorindex integer, group_type integer)" },
    { "memo", "CREATE TABLE memo (memo_id integer PRIMARY KEY AUTOINCREMENT NOT NULL, sort_index integer, memo text)" },
    { "recent", "CREATE TABLE recent (contact_id text, sort_index integer, calldate double)" },
    { "contactgroup_local", "CREATE TABLE contactgroup_local (group_id integer PRIMARY KEY AUTOINCREMENT NOT NULL, sort_index integer, color_r float, color_g float, color_b float, isopen integer, colorindex integer,group_type  integer, local_groupname)" },
    { "contactgroup_local_member", "CREATE TABLE contactgroup_local_member (group_id integer, contact_id text, sort_index integer, PRIMARY KEY (group_id, contact_id))" },
};

std::string readWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DatabaseFile : public storetest::StoreTest { };

} // namespace

TEST_F(DatabaseFile, FirstStartCreatesFolderFileAndAllSixTables)
{
    auto nested = m_dir / "profile" / "Documents" / "Vantel.db";
    DataManager db(nested);
    EXPECT_TRUE(db.isDbOpened());
    EXPECT_TRUE(std::filesystem::is_regular_file(nested));
    EXPECT_TRUE(m_log.containsPrefix("Create db error : "));

    RawDatabase raw(nested);
    EXPECT_EQ(raw.tables(), kCurrentSchema);
    auto columns = raw.columns("contactgroup");
    ASSERT_EQ(columns.size(), 8u);
    EXPECT_EQ(columns.back(), "group_type");
}

TEST_F(DatabaseFile, ReopeningAnUpToDateFileChangesNothing)
{
    {
        DataManager db(file());
        ASSERT_TRUE(db.insertGroup(GroupObject { .groupID = "12" }));
        ASSERT_TRUE(db.insertMemo(MemoObject { .memo = "keep me" }));
    }
    // A group row marked otherwise must survive: the one-time upgrade may not run again.
    RawDatabase(file()).exec("update contactgroup set group_type = 5;");
    m_log.clear();

    DataManager again(file());
    EXPECT_TRUE(again.isDbOpened());
    EXPECT_TRUE(m_log.containsPrefix("Create db error : "));
    RawDatabase raw(file());
    EXPECT_EQ(raw.tables(), kCurrentSchema);
    EXPECT_EQ(raw.column("select group_type from contactgroup;"), std::vector<std::string> { "5" });
    ASSERT_EQ(again.selectAllMemo().size(), 1u);
    EXPECT_EQ(again.selectAllMemo()[0].memo, "keep me");
}

TEST_F(DatabaseFile, FourTableFileIsUpgradedInPlaceKeepingItsRows)
{
    {
        RawDatabase old(file());
        old.exec("create table favorite (contact_id text, sort_index integer);");
        old.exec("create table contactgroup (group_id text, sort_index integer, color_r float, color_g float, color_b float, isopen integer, colorindex integer);");
        old.exec("create table memo (memo_id integer PRIMARY KEY AUTOINCREMENT NOT NULL, sort_index integer, memo text);");
        old.exec("create table recent (contact_id text, sort_index integer, calldate double);");
        old.exec("insert into contactgroup values ('4', 2, 0.5, 0.25, 0, 1, 3), ('7', 1, 0, 0, 0, 0, -1);");
        old.exec("insert into favorite values ('31', 1);");
        old.exec("insert into recent values ('isphonenumber,0123', 1, 1000.5);");
    }

    DataManager db(file());
    EXPECT_TRUE(db.isDbOpened());
    RawDatabase raw(file());
    EXPECT_EQ(raw.tables(), kCurrentSchema);
    EXPECT_EQ(raw.column("select group_type from contactgroup;"), (std::vector<std::string> { "0", "0" }));

    auto groups = db.selectSystemGroup();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].groupID, "7");
    EXPECT_EQ(groups[1], (GroupObject { .groupID = "4", .sortIndex = 2, .colorIndex = 3, .colorR = 0.5f, .colorG = 0.25f, .isOpen = true }));
    ASSERT_EQ(db.selectFavorite().size(), 1u);
    EXPECT_EQ(db.selectRecent().at(0).contactID, "isphonenumber,0123");

    // The new tables work, and a new group still comes after the old ones.
    ASSERT_TRUE(db.insertLocalGroup(GroupObject { .localGroupName = "Team" }));
    EXPECT_EQ(db.selectLocalGroup().at(0).sortIndex, 3);
}

TEST_F(DatabaseFile, UnopenablePathsFailEveryOperationQuietly)
{
    std::filesystem::create_directories(m_dir / "a-folder");
    std::ofstream(m_dir / "plain-file") << "x";
    for (auto path : { m_dir / "a-folder", m_dir / "plain-file" / "Vantel.db" }) {
        SCOPED_TRACE(path.string());
        m_log.clear();
        DataManager db(path);
        EXPECT_FALSE(db.isDbOpened());
        EXPECT_TRUE(m_log.containsPrefix("Open db error : "));

        m_log.clear();
        EXPECT_TRUE(db.selectFavorite().empty());
        EXPECT_FALSE(db.selectFavorite("1"));
        EXPECT_EQ(db.getMaxSortIndex(), 0);
        EXPECT_FALSE(db.insertFavorite("1"));
        EXPECT_FALSE(db.updateFavorite({ .contactID = "1" }));
        EXPECT_FALSE(db.deleteFavorite("1"));
        EXPECT_TRUE(db.selectSystemGroup().empty());
        EXPECT_FALSE(db.updateGroup({ .groupID = "1" }));
        EXPECT_FALSE(db.deleteGroup({ .groupID = "1" }));
        EXPECT_TRUE(db.selectLocalGroup().empty());
        EXPECT_FALSE(db.insertLocalGroup({}));
        EXPECT_FALSE(db.updateLocalGroup({ .groupID = "1" }));
        EXPECT_FALSE(db.deleteLocalGroup({ .groupID = "1" }));
        EXPECT_TRUE(db.selectLocalGroupMemberIDsWithID(1).empty());
        EXPECT_FALSE(db.insertLocalGroupMember(1, "1"));
        EXPECT_FALSE(db.deleteLocalGroupMember(1, "1"));
        EXPECT_FALSE(db.deleteLocalGroupMember("1"));
        EXPECT_TRUE(db.selectAllMemo().empty());
        EXPECT_FALSE(db.selectMemo(1));
        EXPECT_FALSE(db.insertMemo({ .memo = "m" }));
        EXPECT_FALSE(db.updateMemo({ .memoID = 1 }));
        EXPECT_FALSE(db.deleteMemo({ .memoID = 1 }));
        EXPECT_EQ(db.getMaxSortIndexMemo(), 0);
        EXPECT_TRUE(db.selectRecent().empty());
        EXPECT_FALSE(db.insertRecent("1"));
        EXPECT_FALSE(db.deleteRecent("1"));
        EXPECT_EQ(db.getRecentMaxSortIndex(), 0);
        auto lines = m_log.takeLines();
        // One error line per operation, plus the three "delete query" lines.
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "error : database is not open"), 27);
        EXPECT_EQ(lines.size(), 30u);

        EXPECT_EQ(db.getMaxSortIndexGroup(), 0);
        EXPECT_TRUE(m_log.contains("getMaxSortIndexGroup error : database is not open"));
        EXPECT_FALSE(db.insertGroup({ .groupID = "1" }));
        EXPECT_TRUE(m_log.contains("111error : database is not open"));
    }
}

TEST_F(DatabaseFile, AFileThatIsNoDatabaseIsLeftAlone)
{
    const std::string notes = "these are somebody's notes, not a database\n";
    std::ofstream(file(), std::ios::binary) << notes;

    DataManager db(file());
    EXPECT_FALSE(db.isDbOpened());
    EXPECT_NE(db.damage().find("file is not a database"), std::string::npos) << db.damage();
    EXPECT_TRUE(m_log.contains("Open db error : " + db.damage()));
    EXPECT_FALSE(db.insertMemo({ .memo = "m" }));
    EXPECT_TRUE(db.selectAllMemo().empty());
    EXPECT_TRUE(m_log.contains("error : " + db.damage()));
    EXPECT_EQ(readWhole(file()), notes);
}

TEST_F(DatabaseFile, ClosedConnectionFailsCleanlyAndSaysWhy)
{
    DataManager db(file());
    ASSERT_TRUE(db.insertFavorite("1"));
    db.closeDatabese();
    db.closeDatabese();
    EXPECT_FALSE(db.isDbOpened());
    m_log.clear();
    EXPECT_TRUE(db.selectFavorite().empty());
    EXPECT_EQ(m_log.lines(), std::vector<std::string> { "error : database is not open" });
    EXPECT_FALSE(db.fixDababase());
}

TEST_F(DatabaseFile, DefaultFileLivesInTheProfileDocumentsFolder)
{
    auto profile = m_dir / "fresh-profile";
    foundation::DataLocations::setProfileDirectory(profile);
    DataManager db(DataManager::defaultDatabaseFile());
    EXPECT_TRUE(db.isDbOpened());
    EXPECT_TRUE(std::filesystem::is_regular_file(profile / "Documents" / "Vantel.db"));
}

TEST_F(DatabaseFile, SharedInstanceFollowsTheChosenFileAndStaysOneObject)
{
    testsupport::TempDir other;
    DataManager::setSharedDatabaseFile(file());
    DataManager& shared = DataManager::sharedDataBase();
    EXPECT_EQ(&shared, &DataManager::sharedDataBase());
    EXPECT_TRUE(shared.isDbOpened());
    ASSERT_TRUE(shared.insertFavorite("42"));

    DataManager::setSharedDatabaseFile(other / "Vantel.db");
    EXPECT_EQ(&shared, &DataManager::sharedDataBase());
    EXPECT_TRUE(shared.isDbOpened());
    EXPECT_TRUE(shared.selectFavorite().empty());

    DataManager::setSharedDatabaseFile(file());
    EXPECT_TRUE(shared.selectFavorite("42"));
}
