#pragma once
// Thin RAII wrappers over the SQLite C API, shared by both stores. A prepared statement is
// reset and finalized on every path out of its scope; a transaction rolls back unless it was
// committed. Statement texts stay at the call site so each query reads where it is used.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace foundation {

class SqliteStatement {
public:
    // Prepares the text on the connection (sqlite3_prepare_v2). On failure isValid() is
    // false and errorMessage() holds the connection's message; every other call is harmless.
    SqliteStatement(sqlite3* connection, std::string_view text);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_statement != nullptr; }
    // The connection's last error message (sqlite3_errmsg), as of preparing or the last step.
    std::string errorMessage() const;

    // Parameters are numbered from 1. Text is copied by the library (transient).
    void bindText(int index, std::string_view value);
    void bindInt(int index, int value);
    void bindInt64(int index, std::int64_t value);
    void bindDouble(int index, double value);
    void bindBlob(int index, const void* data, int size);
    void bindNull(int index);

    // Steps once and hands back the SQLite result code (SQLITE_ROW, SQLITE_DONE, ...).
    int step();
    // Steps and reports whether a row came back.
    bool stepRow() { return step() == 100 /* SQLITE_ROW */; }

    bool columnIsNull(int column) const;
    // Text of a column, none when the column is SQL NULL.
    std::optional<std::string> columnText(int column) const;
    int columnInt(int column) const;
    std::int64_t columnInt64(int column) const;
    double columnDouble(int column) const;
    std::string columnBlob(int column) const;

    // Makes the statement ready to run again and clears its bindings.
    void reset();

    sqlite3_stmt* handle() const { return m_statement; }

private:
    void finish();

    sqlite3* m_connection { nullptr };
    sqlite3_stmt* m_statement { nullptr };
};

// BEGIN IMMEDIATE on construction; ROLLBACK on destruction unless commit() succeeded.
class SqliteTransaction {
public:
    explicit SqliteTransaction(sqlite3* connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool isActive() const { return m_active; }
    [[nodiscard]] bool commit();

private:
    sqlite3* m_connection { nullptr };
    bool m_active { false };
};

// Runs a statement without results (sqlite3_exec); false and the message on failure.
[[nodiscard]] bool sqliteExec(sqlite3* connection, std::string_view text, std::string* errorMessage = nullptr);

} // namespace foundation
