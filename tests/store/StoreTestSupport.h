#pragma once
// Shared pieces of the database tests: a fixture with a fresh folder and a quiet, captured
// log, and a second, raw connection to look at (or hand-craft) a file behind the store's back.

#include "platform/foundation/Log.h"
#include "platform/foundation/SqliteStatement.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace storetest {

class RawDatabase {
public:
    explicit RawDatabase(const std::filesystem::path& file) { sqlite3_open(file.c_str(), &m_db); }
    ~RawDatabase() { sqlite3_close(m_db); }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    void exec(const std::string& sql)
    {
        std::string message;
        ASSERT_TRUE(foundation::sqliteExec(m_db, sql, &message)) << sql << ": " << message;
    }

    // The creation text of every table of the file, by name (SQLite's own tables left out).
    std::map<std::string, std::string> tables()
    {
        std::map<std::string, std::string> result;
        foundation::SqliteStatement s(m_db, "select name, sql from sqlite_master where type = 'table' and name not like 'sqlite_%';");
        while (s.stepRow())
            result[s.columnText(0).value_or("")] = s.columnText(1).value_or("");
        return result;
    }

    std::vector<std::string> columns(const std::string& table)
    {
        std::vector<std::string> result;
        foundation::SqliteStatement s(m_db, "select name from pragma_table_info(?);");
        s.bindText(1, table);
        while (s.stepRow())
            result.push_back(s.columnText(0).value_or(""));
        return result;
    }

    // Every value of a one-column query, as text ("NULL" for SQL NULL).
    std::vector<std::string> column(const std::string& sql)
    {
        std::vector<std::string> result;
        foundation::SqliteStatement s(m_db, sql);
        EXPECT_TRUE(s.isValid()) << sql << ": " << s.errorMessage();
        while (s.stepRow())
            result.push_back(s.columnText(0).value_or("NULL"));
        return result;
    }

private:
    sqlite3* m_db { nullptr };
};

class StoreTest : public testing::Test {
protected:
    StoreTest() { foundation::setLogToStandardError(false); }
    ~StoreTest() override { foundation::setLogToStandardError(true); }

    std::filesystem::path file() const { return m_dir / "Vantel.db"; }

    testsupport::TempDir m_dir;
    foundation::LogCapture m_log;
};

} // namespace storetest
