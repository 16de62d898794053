// One user action, one transaction: a reorder lands whole or not at all, a refused write is
// handed to the application with SQLite's own reason, another instance's lock is waited for,
// and a damaged or foreign file is never written.

#include "store/DataManager.h"
#include "StoreTestSupport.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

using storetest::RawDatabase;
using tessaro::DataManager;
using tessaro::GroupObject;

namespace {

std::string readWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeWhole(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class UserAction : public storetest::StoreTest {
protected:
    UserAction()
    {
        db.setWriteFailureHandler([this](const std::string& reason) { told.push_back(reason); });
        for (int group = 1; group <= 5; ++group)
            EXPECT_TRUE(db.insertGroup({ .groupID = std::to_string(group) }));
    }

    // The stored order of the address-book groups, by identifier.
    std::vector<std::string> order() const
    {
        std::vector<std::string> ids;
        for (const auto& group : db.selectSystemGroup())
            ids.push_back(group.groupID);
        return ids;
    }

    // Stores the groups in the reverse of their present order, as a drag in the editor does.
    bool reverseOrder()
    {
        auto groups = db.selectSystemGroup();
        return db.performUserAction([&] {
            for (std::size_t i = 0; i < groups.size(); ++i) {
                groups[i].sortIndex = static_cast<int>(groups.size() - i);
                db.updateGroup(groups[i]);
            }
        });
    }

    DataManager db { file() };
    std::vector<std::string> told;
};

} // namespace

TEST_F(UserAction, AReorderThatFailsHalfWayLeavesTheOldOrderWhole)
{
    // The file refuses the third of five rows, as a full disk or an I/O error would.
    RawDatabase raw(file());
    raw.exec("CREATE TRIGGER refuse BEFORE UPDATE ON contactgroup WHEN OLD.group_id = '3' "
             "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END;");

    EXPECT_FALSE(reverseOrder());
    EXPECT_EQ(order(), (std::vector<std::string> { "1", "2", "3", "4", "5" }));
    EXPECT_EQ(raw.column("SELECT count(DISTINCT sort_index) FROM contactgroup;"), std::vector<std::string> { "5" });
    EXPECT_EQ(told, std::vector<std::string> { "disk I/O error" });
    EXPECT_EQ(db.lastWriteError(), "disk I/O error");

    raw.exec("DROP TRIGGER refuse;");
    EXPECT_TRUE(reverseOrder());
    EXPECT_EQ(order(), (std::vector<std::string> { "5", "4", "3", "2", "1" }));
    EXPECT_EQ(db.lastWriteError(), "");
    EXPECT_EQ(told.size(), 1u);
}

TEST_F(UserAction, NestedActionsJoinTheOuterOneAndActionsWithoutWritesNeedNoLock)
{
    RawDatabase other(file());
    other.exec("BEGIN IMMEDIATE;");
    db.setBusyTimeout(20);
    // Reading inside an action takes no write lock, so another instance's lock is no failure.
    EXPECT_TRUE(db.performUserAction([&] { EXPECT_EQ(order().size(), 5u); }));
    EXPECT_TRUE(told.empty());
    other.exec("ROLLBACK;");

    bool inner = false;
    EXPECT_TRUE(db.performUserAction([&] {
        db.updateGroup({ .groupID = "1", .sortIndex = 9 });
        inner = db.performUserAction([&] { db.updateGroup({ .groupID = "2", .sortIndex = 8 }); });
        // Nothing is visible to another connection until the outer action ends.
        EXPECT_EQ(RawDatabase(file()).column("SELECT sort_index FROM contactgroup WHERE group_id = '1';"),
                  std::vector<std::string> { "1" });
    }));
    EXPECT_TRUE(inner);
    EXPECT_EQ(order(), (std::vector<std::string> { "3", "4", "5", "2", "1" }));
}

TEST_F(UserAction, AnotherInstancesLockIsWaitedForThenReportedWithItsReason)
{
    // Released within the busy time-out: the write waits and lands.
    {
        RawDatabase other(file());
        other.exec("BEGIN IMMEDIATE;");
        std::thread release([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            other.exec("COMMIT;");
        });
        EXPECT_TRUE(reverseOrder());
        release.join();
        EXPECT_TRUE(told.empty());
    }
    // Held beyond it: refused, and the application hears the real reason once.
    RawDatabase other(file());
    other.exec("BEGIN IMMEDIATE;");
    db.setBusyTimeout(50);
    EXPECT_FALSE(reverseOrder());
    EXPECT_FALSE(db.updateGroup({ .groupID = "1", .sortIndex = 40 }));
    EXPECT_EQ(told, (std::vector<std::string> { "database is locked", "database is locked" }));
    other.exec("ROLLBACK;");
    EXPECT_EQ(order(), (std::vector<std::string> { "5", "4", "3", "2", "1" }));
}

TEST_F(UserAction, DamagedOrForeignFilesAreReportedAndNeverWritten)
{
    db.closeDatabese();
    RawDatabase(file()).exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                             "INSERT INTO memo(sort_index, memo) SELECT i, printf('%.500c', 'x') FROM n;");
    const std::string healthy = readWhole(file());
    ASSERT_GT(healthy.size(), 40000u);
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (auto& byte : noise)
        byte = static_cast<char>(random());

    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    std::vector<Case> cases {
        { "noise inside", healthy.substr(0, 8192) + noise + healthy.substr(8192 + 4096), "damaged" },
        { "cut short", healthy.substr(0, healthy.size() / 2), "damaged" },
        { "header overwritten", noise.substr(0, 100) + healthy.substr(100), "damaged" },
        { "another program's database", "", "another program's data" },
    };
    for (auto& damaged : cases) {
        SCOPED_TRACE(damaged.name);
        if (damaged.bytes.empty()) {
            std::filesystem::remove(file());
            RawDatabase(file()).exec("CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('mine');");
            damaged.bytes = readWhole(file());
        } else {
            writeWhole(file(), damaged.bytes);
        }
        told.clear();
        DataManager opened(file());
        opened.setWriteFailureHandler([this](const std::string& reason) { told.push_back(reason); });
        EXPECT_FALSE(opened.isDbOpened());
        EXPECT_NE(opened.damage().find(damaged.reason), std::string::npos) << opened.damage();
        EXPECT_FALSE(opened.insertMemo({ .memo = "new" }));
        EXPECT_FALSE(opened.performUserAction([&] { opened.updateGroup({ .groupID = "1" }); }));
        EXPECT_EQ(told, std::vector<std::string>(2, opened.damage()));
        EXPECT_TRUE(opened.selectAllMemo().empty());
        EXPECT_EQ(readWhole(file()), damaged.bytes);
    }
}
