#include "store/DataManager.h"

#include "addressbook/SharedAddressBook.h"
#include "store/DecimalText.h"
#include "platform/contactstore/AddressBook.h"

#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <memory>
#include <mutex>
#include <system_error>
#include <utility>

namespace tessaro {

using foundation::SqliteStatement;

namespace {

std::mutex g_sharedMutex;
std::unique_ptr<DataManager> g_shared;
std::optional<std::filesystem::path> g_sharedFile;

int clampToInt(std::int64_t value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// A hand-edited or damaged file may already hold the largest index; the next row then shares
// it rather than wrapping round to the front of the list.
int nextSortIndex(int largest)
{
    return largest == INT_MAX ? INT_MAX : largest + 1;
}

double secondsSince1970(std::chrono::system_clock::time_point date)
{
    return std::chrono::duration<double>(date.time_since_epoch()).count();
}

std::chrono::system_clock::time_point dateFromSeconds(double seconds)
{
    // The clock's ticks cover about ±292 years around 1970; a damaged value beyond that (or
    // not a number) must not overflow the conversion.
    constexpr double limit = 9.0e9;
    if (std::isnan(seconds))
        seconds = 0.0;
    seconds = std::clamp(seconds, -limit, limit);
    return std::chrono::system_clock::time_point(
        std::chrono::round<std::chrono::system_clock::duration>(std::chrono::duration<double>(seconds)));
}

GroupObject readGroupColumns(const SqliteStatement& statement)
{
    GroupObject group;
    group.sortIndex = statement.columnInt(1);
    group.colorR = static_cast<float>(statement.columnDouble(2));
    group.colorG = static_cast<float>(statement.columnDouble(3));
    group.colorB = static_cast<float>(statement.columnDouble(4));
    group.isOpen = statement.columnInt(5) != 0;
    group.colorIndex = statement.columnInt(6);
    return group;
}

// Binds the columns every group row keeps, in the order both group tables hold them, from the
// parameter `first` on.
void bindGroupColumns(SqliteStatement& statement, int first, int sortIndex, const GroupObject& group)
{
    statement.bindInt(first, sortIndex);
    statement.bindDouble(first + 1, group.colorR);
    statement.bindDouble(first + 2, group.colorG);
    statement.bindDouble(first + 3, group.colorB);
    statement.bindInt(first + 4, group.isOpen ? 1 : 0);
    statement.bindInt(first + 5, group.colorIndex);
}

FavoriteObject favoriteFromRow(const SqliteStatement& statement)
{
    FavoriteObject favorite;
    favorite.contactID = statement.columnText(0).value_or("");
    favorite.sortIndex = statement.columnInt(1);
    return favorite;
}

MemoObject memoFromRow(const SqliteStatement& statement)
{
    MemoObject memo;
    memo.memoID = statement.columnInt(0);
    memo.sortIndex = statement.columnInt(1);
    memo.memo = statement.columnText(2).value_or("");
    return memo;
}

} // namespace

DataManager& DataManager::sharedDataBase()
{
    std::lock_guard lock(g_sharedMutex);
    if (!g_shared)
        g_shared = std::make_unique<DataManager>(g_sharedFile ? *g_sharedFile : defaultDatabaseFile());
    return *g_shared;
}

void DataManager::setSharedDatabaseFile(const std::filesystem::path& file)
{
    std::lock_guard lock(g_sharedMutex);
    g_sharedFile = file;
    if (g_shared)
        g_shared->reopen(file);
}

std::filesystem::path DataManager::defaultDatabaseFile()
{
    return foundation::DataLocations::documentsDirectory() / "Vantel.db";
}

DataManager::DataManager(std::filesystem::path file)
    : m_file(std::move(file))
{
    open();
}

DataManager::~DataManager()
{
    closeDatabese();
}

void DataManager::open()
{
    createEditableCopy();
    m_isDbOpened = false;
    sqlite3* connection = nullptr;
    if (sqlite3_open(m_file.c_str(), &connection) != SQLITE_OK) {
        foundation::log("Open db error : " + std::string(sqlite3_errmsg(connection)) + " (" + m_file.string() + ")");
        sqlite3_close(connection);
        return;
    }
    m_database = connection;
    // Another running instance may be writing; wait for it rather than losing the change.
    sqlite3_busy_timeout(m_database, kBusyTimeoutMilliseconds);
    checkIntegrity();
    if (!m_damage.empty()) {
        // Not one statement more: the file stays as it was found, for whoever recovers it.
        foundation::log("Open db error : " + m_damage);
        sqlite3_close(m_database);
        m_database = nullptr;
        return;
    }
    m_isDbOpened = fixDababase();
}

void DataManager::checkIntegrity()
{
    m_damage.clear();
    std::string verdict;
    {
        SqliteStatement check(m_database, "PRAGMA quick_check;");
        if (!check.isValid()) {
            verdict = check.errorMessage();
        } else {
            int result = check.step();
            if (result == SQLITE_ROW)
                verdict = check.columnText(0).value_or("");
            else
                verdict = check.errorMessage();
        }
    }
    if (verdict != "ok") {
        m_damage = "The application's data file " + m_file.string() + " is damaged (" + verdict + ")";
        return;
    }
    // A database with tables of its own but none of ours belongs to some other program;
    // adding our tables to it would change a file that is not ours.
    SqliteStatement tables(m_database,
                           "SELECT count(*), sum(name IN ('favorite','contactgroup','memo','recent','contactgroup_local',"
                           "'contactgroup_local_member')) FROM sqlite_master WHERE type = 'table';");
    if (tables.stepRow() && tables.columnInt(0) > 0 && tables.columnInt(1) == 0)
        m_damage = "The application's data file " + m_file.string() + " holds another program's data";
}

void DataManager::reopen(const std::filesystem::path& file)
{
    closeDatabese();
    m_file = file;
    open();
}

void DataManager::createEditableCopy()
{
    std::error_code error;
    if (std::filesystem::exists(m_file, error))
        return;
    // The profile may be brand new; a folder that cannot be made shows up as a failed open.
    if (m_file.has_parent_path())
        (void)foundation::DataLocations::ensureDirectory(m_file.parent_path());
    sqlite3* connection = nullptr;
    sqlite3_open(m_file.c_str(), &connection);
    sqlite3_close(connection);
}

bool DataManager::fixDababase()
{
    if (!m_database) {
        foundation::log("Create db error : database is not open");
        return false;
    }
    // Each creation fails harmlessly when its table exists, so a file of any age gains exactly
    // what it lacks.
    (void)foundation::sqliteExec(m_database, "create table favorite (contact_id text, sort_index integer);");
    (void)foundation::sqliteExec(m_database, "create table contactgroup (group_id text, sort_index integer, color_r float, color_g float, color_b float, isopen integer, colorindex integer);");
    (void)foundation::sqliteExec(m_database, "create table memo (memo_id integer PRIMARY KEY AUTOINCREMENT NOT NULL, sort_index integer, memo text);");
    (void)foundation::sqliteExec(m_database, "create table recent (contact_id text, sort_index integer, calldate double);");
    // The column addition succeeds only once in a file's life: the first opening after its
    // group table was made without the column. Rows from before then are all address-book
    // groups, since local groups live in their own table.
    if (foundation::sqliteExec(m_database, "alter table contactgroup add group_type integer;"))
        (void)foundation::sqliteExec(m_database, "update contactgroup set group_type = 0;");
    (void)foundation::sqliteExec(m_database, "create table contactgroup_local (group_id integer PRIMARY KEY AUTOINCREMENT NOT NULL, sort_index integer, color_r float, color_g float, color_b float, isopen integer, colorindex integer,group_type  integer, local_groupname);");
    (void)foundation::sqliteExec(m_database, "create table contactgroup_local_member (group_id integer, contact_id text, sort_index integer, PRIMARY KEY (group_id, contact_id));");
    foundation::log("Create db error : " + std::string(sqlite3_errmsg(m_database)));
    return schemaIsComplete();
}

bool DataManager::schemaIsComplete() const
{
    // A statement prepares only when every table and column it names exists; a file that is
    // no database at all fails every one of them.
    static constexpr std::array<std::string_view, 6> probes {
        "select contact_id, sort_index from favorite limit 0;",
        "select group_id, sort_index, color_r, color_g, color_b, isopen, colorindex, group_type from contactgroup limit 0;",
        "select memo_id, sort_index, memo from memo limit 0;",
        "select contact_id, sort_index, calldate from recent limit 0;",
        "select group_id, sort_index, color_r, color_g, color_b, isopen, colorindex, group_type, local_groupname from contactgroup_local limit 0;",
        "select group_id, contact_id, sort_index from contactgroup_local_member limit 0;",
    };
    for (auto probe : probes) {
        SqliteStatement statement(m_database, probe);
        if (!statement.isValid())
            return false;
    }
    return true;
}

bool DataManager::performUserAction(const std::function<void()>& action)
{
    if (m_actionDepth > 0) {
        action();
        return !m_actionFailed;
    }
    m_actionDepth = 1;
    m_actionFailed = false;
    m_actionAbandoned = false;
    action();
    m_actionDepth = 0;
    if (m_actionAbandoned) {
        m_actionAbandoned = false;
        m_actionFailed = false;
        m_actionTransaction.reset();
        return false;
    }
    // The transaction begins with the action's first write (see change), so an action that
    // finds nothing to write never asks for the write lock, and a read-only file does not
    // turn a look at the data into a failure.
    std::unique_ptr<foundation::SqliteTransaction> transaction = std::move(m_actionTransaction);
    bool failed = m_actionFailed;
    m_actionFailed = false;
    if (!transaction) {
        if (failed)
            writeFailed(m_lastWriteError);
        return !failed;
    }
    if (!failed && transaction->commit()) {
        m_lastWriteError.clear();
        return true;
    }
    if (!failed)
        m_lastWriteError = sqlite3_errmsg(m_database);
    // Ending the transaction rolls back whatever of the action did get written.
    transaction.reset();
    writeFailed(m_lastWriteError);
    return false;
}

void DataManager::setBusyTimeout(int milliseconds)
{
    if (m_database)
        sqlite3_busy_timeout(m_database, milliseconds);
}

void DataManager::setWriteFailureHandler(WriteFailureHandler handler)
{
    m_writeFailureHandler = std::move(handler);
}

void DataManager::writeFailed(std::string reason)
{
    m_lastWriteError = std::move(reason);
    if (m_actionDepth > 0) {
        m_actionFailed = true;
        return;
    }
    if (m_writeFailureHandler)
        m_writeFailureHandler(m_lastWriteError);
}

void DataManager::closeDatabese()
{
    m_actionTransaction.reset();
    if (m_database) {
        sqlite3_close(m_database);
        m_database = nullptr;
    }
    m_isDbOpened = false;
}

void DataManager::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

bool DataManager::performInTransaction(const std::function<bool()>& writes)
{
    bool wrote = true;
    bool stored = performUserAction([&] {
        wrote = writes();
        // The caller gave up on its own: whatever it wrote goes, without a failure to tell.
        if (!wrote && !m_actionFailed)
            m_actionAbandoned = true;
    });
    return stored && wrote;
}

std::string DataManager::errorMessage(const SqliteStatement& statement) const
{
    // Without a connection SQLite's own message would read "out of memory", which misleads.
    if (!m_database)
        return m_damage.empty() ? "database is not open" : m_damage;
    return statement.errorMessage();
}

bool DataManager::prepared(const SqliteStatement& statement, std::string_view errorPrefix) const
{
    if (statement.isValid())
        return true;
    foundation::log(std::string(errorPrefix) + errorMessage(statement));
    return false;
}

void DataManager::readRows(std::string_view query, const Bindings& bind, const RowReader& readRow) const
{
    SqliteStatement statement(m_database, query);
    if (!prepared(statement, "error : "))
        return;
    if (bind)
        bind(statement);
    while (statement.stepRow() && readRow(statement)) {
    }
}

bool DataManager::change(std::string_view query, const Bindings& bind, std::string_view prepareErrorPrefix,
                         std::string_view stepErrorPrefix)
{
    // The rest of a user action whose write already failed would only be rolled back.
    if (m_actionDepth > 0 && m_actionFailed)
        return false;
    if (m_actionDepth > 0 && !m_actionTransaction && m_database) {
        auto transaction = std::make_unique<foundation::SqliteTransaction>(m_database);
        if (!transaction->isActive()) {
            std::string reason = sqlite3_errmsg(m_database);
            foundation::log(std::string(stepErrorPrefix) + reason);
            writeFailed(std::move(reason));
            return false;
        }
        m_actionTransaction = std::move(transaction);
    }
    SqliteStatement statement(m_database, query);
    if (!prepared(statement, prepareErrorPrefix)) {
        writeFailed(errorMessage(statement));
        return false;
    }
    bind(statement);
    // Every failed write is logged, not only the general error: a locked, read-only or full
    // file loses the change just the same.
    int result = statement.step();
    if (result == SQLITE_DONE || result == SQLITE_ROW) {
        if (m_actionDepth == 0)
            m_lastWriteError.clear();
        return true;
    }
    foundation::log(std::string(stepErrorPrefix) + errorMessage(statement));
    writeFailed(errorMessage(statement));
    return false;
}

int DataManager::maxSortIndex(std::string_view query, std::string_view errorPrefix) const
{
    SqliteStatement statement(m_database, query);
    if (!prepared(statement, errorPrefix))
        return 0;
    if (!statement.stepRow())
        return 0;
    return clampToInt(statement.columnInt64(0));
}

// ---- Favourites ----

std::vector<FavoriteObject> DataManager::selectFavorite() const
{
    std::vector<FavoriteObject> favorites;
    readRows("SELECT contact_id,sort_index from favorite order by sort_index;", {}, [&](const SqliteStatement& row) {
        favorites.push_back(favoriteFromRow(row));
        return true;
    });
    return favorites;
}

std::optional<FavoriteObject> DataManager::selectFavorite(const std::string& contactID) const
{
    std::optional<FavoriteObject> favorite;
    readRows(
        "SELECT contact_id,sort_index from favorite where contact_id = ?;",
        [&](SqliteStatement& statement) { statement.bindText(1, contactID); },
        [&](const SqliteStatement& row) {
            favorite = favoriteFromRow(row);
            return false;
        });
    return favorite;
}

bool DataManager::updateFavorite(const FavoriteObject& favorite)
{
    return change("update favorite set sort_index = ? where contact_id = ?;", [&](SqliteStatement& statement) {
        statement.bindInt(1, favorite.sortIndex);
        statement.bindText(2, favorite.contactID);
    });
}

int DataManager::getMaxSortIndex() const
{
    return maxSortIndex("SELECT max(sort_index) from favorite;", "error : ");
}

bool DataManager::insertFavorite(const std::string& contactID)
{
    return change("INSERT OR REPLACE INTO favorite VALUES (?, ?);", [&](SqliteStatement& statement) {
        statement.bindText(1, contactID);
        statement.bindInt(2, nextSortIndex(getMaxSortIndex()));
    });
}

bool DataManager::deleteFavorite(const std::string& contactID)
{
    constexpr std::string_view query = "delete from favorite where contact_id = ?;";
    foundation::log("delete query : " + std::string(query));
    return change(query, [&](SqliteStatement& statement) { statement.bindText(1, contactID); });
}

// ---- Address-book group rows ----

std::vector<GroupObject> DataManager::selectSystemGroup() const
{
    std::vector<GroupObject> groups;
    readRows("SELECT group_id,sort_index,color_r,color_g,color_b,isopen,colorindex from contactgroup order by sort_index;", {},
             [&](const SqliteStatement& row) {
                 GroupObject group = readGroupColumns(row);
                 group.groupID = row.columnText(0).value_or("");
                 group.groupType = 0;
                 groups.push_back(std::move(group));
                 return true;
             });
    return groups;
}

bool DataManager::updateGroup(const GroupObject& group)
{
    return change("update contactgroup set sort_index = ?, color_r = ?, color_g = ?, color_b = ?,isopen = ?,colorindex = ?  where group_id = ?;",
                  [&](SqliteStatement& statement) {
                      bindGroupColumns(statement, 1, group.sortIndex, group);
                      // Bound as a number on purpose: the column's text affinity turns it back into the
                      // decimal text it was stored as, and "+5" or " 5" from a caller still finds group 5.
                      statement.bindInt(7, DecimalText::intValue(group.groupID));
                  });
}

int DataManager::getMaxSortIndexGroup() const
{
    // Address-book and local groups are shown in one list, so they draw from one sequence.
    return maxSortIndex("SELECT max(sort_index) from (select sort_index from contactgroup union all select sort_index from contactgroup_local);",
                        "getMaxSortIndexGroup error : ");
}

bool DataManager::insertGroup(const GroupObject& group)
{
    return change(
        "INSERT OR REPLACE INTO contactgroup VALUES (?, ?, ?, ?, ?, ?,?,?);",
        [&](SqliteStatement& statement) {
            statement.bindText(1, group.groupID);
            bindGroupColumns(statement, 2, nextSortIndex(getMaxSortIndexGroup()), group);
            statement.bindInt(8, 0);
        },
        "111error : ", "222error : ");
}

bool DataManager::deleteGroup(const GroupObject& group)
{
    return change("delete from contactgroup where group_id = ?;",
                  [&](SqliteStatement& statement) { statement.bindText(1, group.groupID); });
}

// ---- Local groups ----

std::vector<GroupObject> DataManager::selectLocalGroup() const
{
    std::vector<GroupObject> groups;
    readRows("SELECT group_id,sort_index,color_r,color_g,color_b,isopen,colorindex,local_groupname  from contactgroup_local order by sort_index;", {},
             [&](const SqliteStatement& row) {
                 GroupObject group = readGroupColumns(row);
                 group.groupID = std::to_string(row.columnInt(0));
                 group.groupType = 1;
                 group.localGroupName = row.columnText(7).value_or("");
                 groups.push_back(std::move(group));
                 return true;
             });
    return groups;
}

bool DataManager::updateLocalGroup(const GroupObject& group)
{
    return change("update contactgroup_local set sort_index = ?, color_r = ?, color_g = ?, color_b = ?,isopen = ?,colorindex = ?, local_groupname = ?  where group_id = ?;",
                  [&](SqliteStatement& statement) {
                      bindGroupColumns(statement, 1, group.sortIndex, group);
                      statement.bindText(7, group.localGroupName);
                      statement.bindInt(8, DecimalText::intValue(group.groupID));
                  });
}

bool DataManager::insertLocalGroup(const GroupObject& group)
{
    return change("INSERT OR REPLACE INTO contactgroup_local(sort_index,color_r,color_g,color_b,isopen,colorindex, group_type, local_groupname) VALUES (?, ?, ?, ?, ?, ?, ?, ?);",
                  [&](SqliteStatement& statement) {
                      bindGroupColumns(statement, 1, nextSortIndex(getMaxSortIndexGroup()), group);
                      statement.bindInt(7, 1);
                      statement.bindText(8, group.localGroupName);
                  });
}

bool DataManager::deleteLocalGroup(const GroupObject& group)
{
    return change("delete from contactgroup_local where group_id = ?;",
                  [&](SqliteStatement& statement) { statement.bindInt(1, DecimalText::intValue(group.groupID)); });
}

// ---- Local group members ----

std::vector<std::int32_t> DataManager::selectLocalGroupMemberIDsWithID(int group) const
{
    std::vector<std::int32_t> members;
    readRows(
        "SELECT group_id,contact_id,sort_index from contactgroup_local_member where group_id = ? order by contact_id;",
        [&](SqliteStatement& statement) { statement.bindInt(1, group); },
        [&](const SqliteStatement& row) {
            if (auto contactID = row.columnText(1))
                members.push_back(DecimalText::intValue(*contactID));
            return true;
        });
    return members;
}

std::vector<Contact> DataManager::selectLocalGroupMemberWithID(int group) const
{
    std::vector<Contact> members;
    auto book = SharedAddressBook::get();
    if (!book)
        return members;
    for (std::int32_t recordID : selectLocalGroupMemberIDsWithID(group)) {
        if (auto contact = Contact::contactWithRecord(book->personWithRecordID(recordID)))
            members.push_back(std::move(*contact));
    }
    return members;
}

bool DataManager::insertLocalGroupMember(int group, const std::string& memberID)
{
    return change("INSERT OR REPLACE INTO contactgroup_local_member(group_id, contact_id, sort_index) VALUES (?, ?, ?);",
                  [&](SqliteStatement& statement) {
                      statement.bindInt(1, group);
                      statement.bindText(2, memberID);
                      statement.bindInt(3, 0);
                  });
}

bool DataManager::deleteLocalGroupMember(int group, const std::string& memberID)
{
    return change("delete from contactgroup_local_member where group_id = ? and contact_id = ?;", [&](SqliteStatement& statement) {
        statement.bindInt(1, group);
        statement.bindText(2, memberID);
    });
}

bool DataManager::deleteLocalGroupMember(const std::string& memberID)
{
    return change("delete from contactgroup_local_member where contact_id = ?;",
                  [&](SqliteStatement& statement) { statement.bindText(1, memberID); });
}

// ---- Memos ----

std::vector<MemoObject> DataManager::selectAllMemo() const
{
    std::vector<MemoObject> memos;
    readRows("SELECT memo_id,sort_index,memo from memo order by sort_index desc;", {}, [&](const SqliteStatement& row) {
        memos.push_back(memoFromRow(row));
        return true;
    });
    return memos;
}

std::optional<MemoObject> DataManager::selectMemo(int memoID) const
{
    std::optional<MemoObject> memo;
    readRows(
        "SELECT memo_id,sort_index,memo from memo where memo_id = ?;",
        [&](SqliteStatement& statement) { statement.bindInt(1, memoID); },
        [&](const SqliteStatement& row) {
            memo = memoFromRow(row);
            return false;
        });
    return memo;
}

bool DataManager::updateMemo(const MemoObject& memo)
{
    return change("update memo set sort_index = ?, memo = ? where memo_id = ?;", [&](SqliteStatement& statement) {
        statement.bindInt(1, memo.sortIndex);
        statement.bindText(2, memo.memo);
        statement.bindInt(3, memo.memoID);
    });
}

int DataManager::getMaxSortIndexMemo() const
{
    return maxSortIndex("SELECT max(sort_index) from memo;", "error : ");
}

bool DataManager::insertMemo(const MemoObject& memo)
{
    return change("INSERT OR REPLACE INTO memo(sort_index, memo) values(?,?);", [&](SqliteStatement& statement) {
        statement.bindInt(1, nextSortIndex(getMaxSortIndexMemo()));
        statement.bindText(2, memo.memo);
    });
}

bool DataManager::deleteMemo(const MemoObject& memo)
{
    constexpr std::string_view query = "delete from memo where memo_id = ?;";
    foundation::log("delete query : " + std::string(query));
    return change(query, [&](SqliteStatement& statement) { statement.bindInt(1, memo.memoID); });
}

// ---- Recent calls ----

std::vector<RecentObject> DataManager::selectRecent() const
{
    // The keypad shows a bounded list; older calls stay stored but are not read.
    constexpr std::size_t shownCalls = 100;
    std::vector<RecentObject> recents;
    readRows("SELECT contact_id,sort_index,calldate from recent order by sort_index desc;", {}, [&](const SqliteStatement& row) {
        RecentObject recent;
        recent.contactID = row.columnText(0).value_or("");
        recent.sortIndex = row.columnInt(1);
        recent.callDate = dateFromSeconds(row.columnDouble(2));
        recents.push_back(std::move(recent));
        return recents.size() < shownCalls;
    });
    return recents;
}

int DataManager::getRecentMaxSortIndex() const
{
    return maxSortIndex("SELECT max(sort_index) from recent;", "error : ");
}

bool DataManager::insertRecent(const std::string& contactID)
{
    return change("INSERT OR REPLACE INTO recent VALUES (?, ?, ?);", [&](SqliteStatement& statement) {
        auto now = m_clock ? m_clock() : std::chrono::system_clock::now();
        statement.bindText(1, contactID);
        statement.bindInt(2, nextSortIndex(getRecentMaxSortIndex()));
        statement.bindDouble(3, secondsSince1970(now));
    });
}

bool DataManager::deleteRecent(const std::string& contactID)
{
    constexpr std::string_view query = "delete from recent where contact_id = ?;";
    foundation::log("delete query : " + std::string(query));
    return change(query, [&](SqliteStatement& statement) { statement.bindText(1, contactID); });
}

std::optional<SettingsObject> DataManager::getSettings() const
{
    return std::nullopt;
}

} // namespace tessaro
