#include "platform/foundation/SqliteStatement.h"

#include <sqlite3.h>

#include <utility>

namespace foundation {

SqliteStatement::SqliteStatement(sqlite3* connection, std::string_view text)
    : m_connection(connection)
{
    if (!connection)
        return;
    if (sqlite3_prepare_v2(connection, text.data(), static_cast<int>(text.size()), &m_statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    finish();
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_connection(std::exchange(other.m_connection, nullptr))
    , m_statement(std::exchange(other.m_statement, nullptr))
{
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        finish();
        m_connection = std::exchange(other.m_connection, nullptr);
        m_statement = std::exchange(other.m_statement, nullptr);
    }
    return *this;
}

void SqliteStatement::finish()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

std::string SqliteStatement::errorMessage() const
{
    if (!m_connection)
        return "out of memory";
    return sqlite3_errmsg(m_connection);
}

void SqliteStatement::bindText(int index, std::string_view value)
{
    if (m_statement)
        sqlite3_bind_text(m_statement, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindInt(int index, int value)
{
    if (m_statement)
        sqlite3_bind_int(m_statement, index, value);
}

void SqliteStatement::bindInt64(int index, std::int64_t value)
{
    if (m_statement)
        sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::bindDouble(int index, double value)
{
    if (m_statement)
        sqlite3_bind_double(m_statement, index, value);
}

void SqliteStatement::bindBlob(int index, const void* data, int size)
{
    if (m_statement)
        sqlite3_bind_blob(m_statement, index, data, size, SQLITE_TRANSIENT);
}

void SqliteStatement::bindNull(int index)
{
    if (m_statement)
        sqlite3_bind_null(m_statement, index);
}

int SqliteStatement::step()
{
    if (!m_statement)
        return SQLITE_MISUSE;
    return sqlite3_step(m_statement);
}

bool SqliteStatement::columnIsNull(int column) const
{
    return !m_statement || sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::optional<std::string> SqliteStatement::columnText(int column) const
{
    if (columnIsNull(column))
        return std::nullopt;
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    int size = sqlite3_column_bytes(m_statement, column);
    return std::string(text ? text : "", text ? static_cast<std::size_t>(size) : 0);
}

int SqliteStatement::columnInt(int column) const
{
    return m_statement ? sqlite3_column_int(m_statement, column) : 0;
}

std::int64_t SqliteStatement::columnInt64(int column) const
{
    return m_statement ? sqlite3_column_int64(m_statement, column) : 0;
}

double SqliteStatement::columnDouble(int column) const
{
    return m_statement ? sqlite3_column_double(m_statement, column) : 0.0;
}

std::string SqliteStatement::columnBlob(int column) const
{
    if (columnIsNull(column))
        return {};
    auto data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
    int size = sqlite3_column_bytes(m_statement, column);
    return std::string(data ? data : "", data ? static_cast<std::size_t>(size) : 0);
}

void SqliteStatement::reset()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

SqliteTransaction::SqliteTransaction(sqlite3* connection)
    : m_connection(connection)
{
    m_active = connection && sqliteExec(connection, "BEGIN IMMEDIATE;");
}

SqliteTransaction::~SqliteTransaction()
{
    if (m_active)
        (void)sqliteExec(m_connection, "ROLLBACK;");
}

bool SqliteTransaction::commit()
{
    if (!m_active)
        return false;
    if (!sqliteExec(m_connection, "COMMIT;"))
        return false;
    m_active = false;
    return true;
}

bool sqliteExec(sqlite3* connection, std::string_view text, std::string* errorMessage)
{
    if (!connection) {
        if (errorMessage)
            *errorMessage = "no connection";
        return false;
    }
    std::string statement(text);
    char* message = nullptr;
    int result = sqlite3_exec(connection, statement.c_str(), nullptr, nullptr, &message);
    if (errorMessage)
        *errorMessage = message ? message : "";
    sqlite3_free(message);
    return result == SQLITE_OK;
}

} // namespace foundation
