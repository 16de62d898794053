#pragma once
// The application's own database ("Vantel.db" in the profile's Documents folder): everything
// the address book does not hold — favourites, the colour and order of address-book groups,
// local groups and their members, memos and recent calls.
//
// A DataManager owns its one SQLite connection and every statement it prepares; statements
// live only for the duration of one operation. The program uses the one shared instance
// (sharedDataBase), which lives until the process ends. Every list and record handed back is
// a new value that belongs to the caller.
//
// Failures are results, never exceptions: an operation that cannot run logs one line
// ("error : <SQLite's message>" unless noted) and hands back an empty list, no record, 0 or
// false. Changes return true when the row was written. A failed write is also handed, with
// SQLite's reason, to the write-failure handler, which the application uses to tell the
// user; a user action that writes many rows runs them in performUserAction so that they
// land together or not at all. All operations run on the main thread.
//
// The file is shared with other running instances of the program: a write waits for
// another instance's lock up to the busy time-out before it fails. A file that is damaged,
// or is some other program's database, is never written: it is kept as it is for recovery.

#include "addressbook/Contact.h"
#include "store/FavoriteObject.h"
#include "store/GroupObject.h"
#include "store/MemoObject.h"
#include "store/RecentObject.h"
#include "store/SettingsObject.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace foundation {
class SqliteStatement;
class SqliteTransaction;
}

namespace tessaro {

class DataManager {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    // The one instance of the program, created on first use (safe from any thread) on the
    // file chosen with setSharedDatabaseFile, else on defaultDatabaseFile().
    static DataManager& sharedDataBase();
    // Chooses the file of the shared instance. Before its creation this only records the
    // choice; afterwards the shared instance closes its file and opens the new one, so
    // references to it stay valid (tests give every case a fresh file this way).
    static void setSharedDatabaseFile(const std::filesystem::path& file);
    // Documents/Vantel.db in the profile folder in force at the time of the call.
    static std::filesystem::path defaultDatabaseFile();

    // Opens the file, creating it and its folder when missing, and brings the schema up to
    // date. The object is usable whether or not that worked; see isDbOpened.
    explicit DataManager(std::filesystem::path file);
    ~DataManager();
    DataManager(const DataManager&) = delete;
    DataManager& operator=(const DataManager&) = delete;

    // True when the file opened and all six tables are in place.
    bool isDbOpened() const { return m_isDbOpened; }
    // Why the file is not used, when it is damaged or not ours (one sentence naming the file);
    // empty otherwise. Such a file is left exactly as it was found.
    const std::string& damage() const { return m_damage; }

    // How long a write waits for another instance of the program to release the file.
    static constexpr int kBusyTimeoutMilliseconds = 5000;
    // Another wait for the open file (tests that must not wait the full time).
    void setBusyTimeout(int milliseconds);

    // Runs the writes of one user action (a reorder, the alignment of the catalogue with the
    // address book) as one transaction: they reach the file together or not at all. After
    // the first failed write the action's later writes are skipped, everything is rolled
    // back and the handler hears of it once; false then. An action started inside another
    // joins it.
    [[nodiscard]] bool performUserAction(const std::function<void()>& action);
    // SQLite's reason for the last failed write ("attempt to write a readonly database");
    // empty after a write that succeeded.
    const std::string& lastWriteError() const { return m_lastWriteError; }
    // Told of every failed lone write and every failed user action, with the reason.
    using WriteFailureHandler = std::function<void(const std::string& reason)>;
    void setWriteFailureHandler(WriteFailureHandler handler);
    const std::filesystem::path& databaseFile() const { return m_file; }

    // Creates an empty file when none exists yet, so that a first start has something to
    // open; leaves an existing file untouched.
    void createEditableCopy();
    // Creates the missing tables and adds the group-type column to files written before it
    // existed (marking their rows as address-book groups). Runs at every opening; logs
    // "Create db error : <last message>" every time. True when the schema is complete.
    [[nodiscard]] bool fixDababase();
    // Closes the connection; every later operation fails cleanly until the file is reopened.
    void closeDatabese();

    // The time insertRecent stamps on a call; the system clock unless replaced (tests).
    void setClock(Clock clock);

    // performUserAction for writes that report whether they all succeeded: when they answer
    // false, nothing of them is stored and the answer is false (a refusal the writes noticed
    // themselves is theirs to tell).
    [[nodiscard]] bool performInTransaction(const std::function<bool()>& writes);

    // Favourites (ascending sort index).
    std::vector<FavoriteObject> selectFavorite() const;
    // The favourite row of the person, or none when the person is no favourite.
    std::optional<FavoriteObject> selectFavorite(const std::string& contactID) const;
    bool updateFavorite(const FavoriteObject& favorite);
    // The largest favourite sort index, 0 when there are none.
    int getMaxSortIndex() const;
    // Appends the person after the last favourite. The table has no key, so callers check
    // with selectFavorite(contactID) first; a second insert adds a second row.
    bool insertFavorite(const std::string& contactID);
    // Removes every favourite row of the person.
    bool deleteFavorite(const std::string& contactID);

    // Address-book group rows (ascending sort index, groupType 0).
    std::vector<GroupObject> selectSystemGroup() const;
    // Writes the order, colours and open flag of the row whose group_id is the integer value
    // of group.groupID.
    bool updateGroup(const GroupObject& group);
    // The largest sort index over address-book and local groups together, 0 when both are
    // empty; logs "getMaxSortIndexGroup error : ..." when it cannot run.
    int getMaxSortIndexGroup() const;
    // Stores the group after the last group of either kind; group.sortIndex is not used.
    // Logs "111error : ..." when it cannot prepare and "222error : ..." when it cannot write.
    bool insertGroup(const GroupObject& group);
    bool deleteGroup(const GroupObject& group);

    // Local groups (ascending sort index, groupType 1, groupID from the row identifier).
    std::vector<GroupObject> selectLocalGroup() const;
    bool updateLocalGroup(const GroupObject& group);
    // Stores a new local group after the last group of either kind. The database assigns its
    // identifier, never reusing one; read the list again to learn it.
    bool insertLocalGroup(const GroupObject& group);
    // Removes the group row only: its member rows stay, harmless because its identifier is
    // never given to another group.
    bool deleteLocalGroup(const GroupObject& group);

    // The record identifiers of a local group's members, ordered by the stored identifier
    // compared as text ("10" before "9"); rows without a person are skipped. Turning these into
    // persons (and skipping persons that no longer exist) is the address book's work, one
    // lookup per identifier on this one result.
    std::vector<std::int32_t> selectLocalGroupMemberIDsWithID(int group) const;
    // The same members as persons of the shared address book, in the same order; members
    // whose person no longer exists are left out.
    std::vector<Contact> selectLocalGroupMemberWithID(int group) const;
    // Adds the person to the group; a person already in it stays there once.
    bool insertLocalGroupMember(int group, const std::string& memberID);
    bool deleteLocalGroupMember(int group, const std::string& memberID);
    // Takes the person out of every local group.
    bool deleteLocalGroupMember(const std::string& memberID);

    // Memos (highest sort index first).
    std::vector<MemoObject> selectAllMemo() const;
    std::optional<MemoObject> selectMemo(int memoID) const;
    bool updateMemo(const MemoObject& memo);
    int getMaxSortIndexMemo() const;
    // Stores memo.memo so that it heads the list; memo.memoID and memo.sortIndex are not used.
    bool insertMemo(const MemoObject& memo);
    bool deleteMemo(const MemoObject& memo);

    // Recent calls: the newest hundred, newest first; older rows stay stored.
    std::vector<RecentObject> selectRecent() const;
    int getRecentMaxSortIndex() const;
    // Records a call to the person (or number) now, ahead of every earlier call.
    bool insertRecent(const std::string& contactID);
    // Removes every recorded call of the person (or number).
    bool deleteRecent(const std::string& contactID);

    // The application stores no settings: always none.
    std::optional<SettingsObject> getSettings() const;

private:
    void open();
    void reopen(const std::filesystem::path& file);
    bool schemaIsComplete() const;
    // Fills m_damage when the file fails SQLite's quick check or holds tables of another
    // program and none of ours.
    void checkIntegrity();
    // Records a failed write and, outside a user action, tells the handler.
    void writeFailed(std::string reason);

    using Bindings = std::function<void(foundation::SqliteStatement&)>;
    // Handed each row in turn; returns false when it wants no more.
    using RowReader = std::function<bool(const foundation::SqliteStatement&)>;

    // Logs the failure of a statement that did not prepare; true when it did.
    bool prepared(const foundation::SqliteStatement& statement, std::string_view errorPrefix) const;
    // Runs a query with its parameters bound, handing its rows to readRow; a query that does
    // not prepare is logged and reads as no rows.
    void readRows(std::string_view query, const Bindings& bind, const RowReader& readRow) const;
    // Prepares, binds and steps one change; logs and returns false unless it completed. The
    // bindings run only once the statement has prepared.
    bool change(std::string_view query, const Bindings& bind, std::string_view prepareErrorPrefix = "error : ",
                std::string_view stepErrorPrefix = "error : ");
    // The largest value of a one-column max() query, 0 when there is none or it cannot run.
    int maxSortIndex(std::string_view query, std::string_view errorPrefix) const;
    std::string errorMessage(const foundation::SqliteStatement& statement) const;

    std::filesystem::path m_file;
    sqlite3* m_database { nullptr };
    bool m_isDbOpened { false };
    std::string m_damage;
    Clock m_clock;
    // Depth of nested user actions, and whether a write of the current one failed.
    int m_actionDepth { 0 };
    bool m_actionFailed { false };
    bool m_actionAbandoned { false };
    std::unique_ptr<foundation::SqliteTransaction> m_actionTransaction;
    std::string m_lastWriteError;
    WriteFailureHandler m_writeFailureHandler;
};

} // namespace tessaro
