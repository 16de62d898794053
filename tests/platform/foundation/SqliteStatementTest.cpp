#include "platform/foundation/SqliteStatement.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using foundation::SqliteStatement;
using foundation::SqliteTransaction;

namespace {

struct Connection {
    explicit Connection(const std::filesystem::path& file) { sqlite3_open(file.c_str(), &db); }
    ~Connection() { sqlite3_close(db); }
    sqlite3* db { nullptr };
};

int countRows(sqlite3* db)
{
    SqliteStatement count(db, "select count(*) from t;");
    return count.stepRow() ? count.columnInt(0) : -1;
}

} // namespace

TEST(SqliteStatement, BindsStepsAndReadsNullsAsNone)
{
    testsupport::TempDir dir;
    Connection c(dir / "a.db");
    ASSERT_TRUE(foundation::sqliteExec(c.db, "create table t (a text, b integer, c float);"));
    {
        SqliteStatement insert(c.db, "insert into t values (?, ?, ?);");
        insert.bindText(1, "ü text");
        insert.bindInt(2, 7);
        insert.bindDouble(3, 0.5);
        EXPECT_EQ(insert.step(), SQLITE_DONE);
        insert.reset();
        insert.bindNull(1);
        EXPECT_EQ(insert.step(), SQLITE_DONE);
    }
    SqliteStatement select(c.db, "select a, b, c from t order by rowid;");
    ASSERT_TRUE(select.stepRow());
    EXPECT_EQ(select.columnText(0), "ü text");
    EXPECT_EQ(select.columnInt(1), 7);
    EXPECT_DOUBLE_EQ(select.columnDouble(2), 0.5);
    ASSERT_TRUE(select.stepRow());
    EXPECT_EQ(select.columnText(0), std::nullopt);
    EXPECT_FALSE(select.stepRow());
}

TEST(SqliteStatement, FailedPrepareIsHarmlessAndCarriesTheMessage)
{
    testsupport::TempDir dir;
    Connection c(dir / "a.db");
    SqliteStatement bad(c.db, "select * from missing;");
    EXPECT_FALSE(bad.isValid());
    EXPECT_NE(bad.errorMessage().find("no such table"), std::string::npos);
    bad.bindText(1, "x");
    EXPECT_FALSE(bad.stepRow());

    SqliteStatement none(nullptr, "select 1;");
    EXPECT_FALSE(none.isValid());
}

TEST(SqliteTransaction, RollsBackUnlessCommitted)
{
    testsupport::TempDir dir;
    Connection c(dir / "a.db");
    ASSERT_TRUE(foundation::sqliteExec(c.db, "create table t (a integer);"));
    {
        SqliteTransaction abandoned(c.db);
        ASSERT_TRUE(abandoned.isActive());
        ASSERT_TRUE(foundation::sqliteExec(c.db, "insert into t values (1);"));
    }
    EXPECT_EQ(countRows(c.db), 0);
    {
        SqliteTransaction kept(c.db);
        ASSERT_TRUE(foundation::sqliteExec(c.db, "insert into t values (1);"));
        EXPECT_TRUE(kept.commit());
        EXPECT_FALSE(kept.commit());
    }
    EXPECT_EQ(countRows(c.db), 1);
}
