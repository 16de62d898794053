#include "platform/contactstore/carddav/SyncState.h"

#include "platform/foundation/DataLocations.h"
#include "platform/foundation/SqliteStatement.h"

#include <sqlite3.h>

namespace contactstore::carddav {

using foundation::SqliteStatement;
using foundation::SqliteTransaction;

namespace {

constexpr int kSchemaVersion = 1;

constexpr char kCreate[] = R"sql(
CREATE TABLE IF NOT EXISTS account (
    name TEXT PRIMARY KEY NOT NULL,
    server_url TEXT NOT NULL,
    user TEXT NOT NULL,
    allow_plain_http INTEGER NOT NULL DEFAULT 0,
    ca_file TEXT);
CREATE TABLE IF NOT EXISTS collection (
    url TEXT PRIMARY KEY NOT NULL,
    account TEXT NOT NULL REFERENCES account(name) ON DELETE CASCADE,
    display_name TEXT,
    source_id INTEGER NOT NULL,
    sync_token TEXT,
    offers_sync INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS item (
    collection TEXT NOT NULL REFERENCES collection(url) ON DELETE CASCADE,
    url TEXT NOT NULL,
    uid TEXT,
    etag TEXT,
    kind INTEGER NOT NULL,
    record_id INTEGER NOT NULL,
    base TEXT,
    local_digest TEXT,
    PRIMARY KEY (collection, url)) WITHOUT ROWID;
)sql";

std::string text(const SqliteStatement& statement, int column)
{
    return statement.columnText(column).value_or(std::string());
}

} // namespace

std::unique_ptr<SyncState> SyncState::open(const std::filesystem::path& directory, std::string* why)
{
    std::unique_ptr<SyncState> state(new SyncState());
    if (!foundation::DataLocations::ensureDirectory(directory)) {
        if (why)
            *why = "the folder " + directory.string() + " cannot be created";
        return nullptr;
    }
    std::filesystem::path file = directory / kFileName;
    if (sqlite3_open_v2(file.c_str(), &state->m_connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK) {
        if (why)
            *why = "the sync state " + file.string() + " cannot be opened";
        return nullptr;
    }
    sqlite3_busy_timeout(state->m_connection, 5000);
    std::string message;
    if (!foundation::sqliteExec(state->m_connection, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;",
                                &message)) {
        if (why)
            *why = "the sync state cannot be read: " + message;
        return nullptr;
    }
    SqliteStatement version(state->m_connection, "PRAGMA user_version;");
    int found = version.stepRow() ? version.columnInt(0) : -1;
    if (found > kSchemaVersion || found < 0) {
        if (why)
            *why = "the sync state " + file.string() + " was written by a newer version of the program";
        return nullptr;
    }
    if (found < kSchemaVersion
        && !foundation::sqliteExec(state->m_connection,
                                   std::string("BEGIN IMMEDIATE;") + kCreate + "PRAGMA user_version=" + std::to_string(kSchemaVersion)
                                       + "; COMMIT;",
                                   &message)) {
        (void)foundation::sqliteExec(state->m_connection, "ROLLBACK;");
        if (why)
            *why = "the sync state cannot be prepared: " + message;
        return nullptr;
    }
    return state;
}

SyncState::~SyncState()
{
    if (m_connection)
        sqlite3_close_v2(m_connection);
}

bool SyncState::exec(const char* sql)
{
    std::string message;
    if (foundation::sqliteExec(m_connection, sql, &message))
        return true;
    m_lastError = message;
    return false;
}

std::vector<AccountRecord> SyncState::accounts()
{
    std::vector<AccountRecord> found;
    SqliteStatement rows(m_connection, "SELECT name, server_url, user, allow_plain_http, ca_file FROM account ORDER BY name;");
    while (rows.stepRow())
        found.push_back({ text(rows, 0), text(rows, 1), text(rows, 2), rows.columnInt(3) != 0, text(rows, 4) });
    return found;
}

std::optional<AccountRecord> SyncState::account(const std::string& name)
{
    for (AccountRecord& account : accounts()) {
        if (account.name == name)
            return account;
    }
    return std::nullopt;
}

bool SyncState::addAccount(const AccountRecord& account, const std::vector<CollectionRecord>& collections)
{
    SqliteTransaction transaction(m_connection);
    if (!transaction.isActive()) {
        m_lastError = sqlite3_errmsg(m_connection);
        return false;
    }
    SqliteStatement forget(m_connection, "DELETE FROM account WHERE name = ?;");
    forget.bindText(1, account.name);
    SqliteStatement insert(m_connection,
                           "INSERT INTO account (name, server_url, user, allow_plain_http, ca_file) VALUES (?, ?, ?, ?, ?);");
    insert.bindText(1, account.name);
    insert.bindText(2, account.serverUrl);
    insert.bindText(3, account.user);
    insert.bindInt(4, account.allowPlainHttp ? 1 : 0);
    insert.bindText(5, account.certificateAuthorityFile);
    bool written = forget.step() == SQLITE_DONE && insert.step() == SQLITE_DONE;
    SqliteStatement addCollection(m_connection, "INSERT OR REPLACE INTO collection (url, account, display_name, source_id, sync_token, "
                                                "offers_sync) VALUES (?, ?, ?, ?, NULL, ?);");
    for (const CollectionRecord& collection : collections) {
        if (!written)
            break;
        addCollection.bindText(1, collection.url);
        addCollection.bindText(2, account.name);
        addCollection.bindText(3, collection.displayName);
        addCollection.bindInt(4, collection.sourceID);
        addCollection.bindInt(5, collection.offersSyncCollection ? 1 : 0);
        written = addCollection.step() == SQLITE_DONE;
        addCollection.reset();
    }
    if (!written || !transaction.commit()) {
        m_lastError = sqlite3_errmsg(m_connection);
        return false;
    }
    return true;
}

bool SyncState::removeAccount(const std::string& name)
{
    SqliteStatement forget(m_connection, "DELETE FROM account WHERE name = ?;");
    forget.bindText(1, name);
    if (forget.step() != SQLITE_DONE) {
        m_lastError = forget.errorMessage();
        return false;
    }
    return sqlite3_changes(m_connection) > 0;
}

std::vector<CollectionRecord> SyncState::collections(const std::string& account)
{
    std::vector<CollectionRecord> found;
    SqliteStatement rows(m_connection, "SELECT url, account, display_name, source_id, sync_token, offers_sync FROM collection "
                                       "WHERE account = ? ORDER BY rowid;");
    rows.bindText(1, account);
    while (rows.stepRow())
        found.push_back({ text(rows, 0), text(rows, 1), text(rows, 2), rows.columnInt(3), text(rows, 4), rows.columnInt(5) != 0 });
    return found;
}

bool SyncState::setSyncToken(const std::string& collectionUrl, const std::string& token)
{
    SqliteStatement write(m_connection, "UPDATE collection SET sync_token = ? WHERE url = ?;");
    write.bindText(1, token);
    write.bindText(2, collectionUrl);
    if (write.step() != SQLITE_DONE) {
        m_lastError = write.errorMessage();
        return false;
    }
    return true;
}

std::vector<ItemRecord> SyncState::items(const std::string& collectionUrl)
{
    std::vector<ItemRecord> found;
    SqliteStatement rows(m_connection,
                         "SELECT url, uid, etag, kind, record_id, base, local_digest FROM item WHERE collection = ?;");
    rows.bindText(1, collectionUrl);
    while (rows.stepRow()) {
        found.push_back({ text(rows, 0), text(rows, 1), text(rows, 2), rows.columnInt(3) == 1 ? ItemRecord::Kind::Group : ItemRecord::Kind::Person,
                          rows.columnInt(4), text(rows, 5), text(rows, 6) });
    }
    return found;
}

bool SyncState::update(const std::string& collectionUrl, const std::vector<ItemRecord>& written,
                       const std::vector<std::string>& removedUrls)
{
    if (written.empty() && removedUrls.empty())
        return true;
    SqliteTransaction transaction(m_connection);
    if (!transaction.isActive()) {
        m_lastError = sqlite3_errmsg(m_connection);
        return false;
    }
    SqliteStatement write(m_connection, "INSERT OR REPLACE INTO item (collection, url, uid, etag, kind, record_id, base, local_digest) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?);");
    SqliteStatement remove(m_connection, "DELETE FROM item WHERE collection = ? AND url = ?;");
    for (const std::string& url : removedUrls) {
        remove.bindText(1, collectionUrl);
        remove.bindText(2, url);
        if (remove.step() != SQLITE_DONE) {
            m_lastError = remove.errorMessage();
            return false;
        }
        remove.reset();
    }
    for (const ItemRecord& item : written) {
        write.bindText(1, collectionUrl);
        write.bindText(2, item.url);
        write.bindText(3, item.uid);
        write.bindText(4, item.etag);
        write.bindInt(5, item.kind == ItemRecord::Kind::Group ? 1 : 0);
        write.bindInt(6, item.recordID);
        write.bindText(7, item.base);
        write.bindText(8, item.localDigest);
        if (write.step() != SQLITE_DONE) {
            m_lastError = write.errorMessage();
            return false;
        }
        write.reset();
    }
    if (!transaction.commit()) {
        m_lastError = sqlite3_errmsg(m_connection);
        return false;
    }
    return true;
}

} // namespace contactstore::carddav
