#pragma once
// The contact store's file: one SQLite connection per handle, the schema with its version
// and upgrade steps, reading a handle's snapshot, writing its pending changes in one
// transaction, and reading pictures on demand. Owned by its AddressBook and shared with the
// persons whose pictures it reads.
//
// The file is in WAL mode with full synchronisation: a save either reaches the disk whole
// or not at all, even when the process is killed in the middle of it.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/contactstore/StoreError.h"
#include "platform/contactstore/Values.h"

#include <filesystem>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace foundation {
class SqliteStatement;
class SqliteTransaction;
}

struct sqlite3;
struct sqlite3_stmt;

namespace contactstore {

struct AddressBookContents;

class AddressBookDatabase {
    class MemberInsertion;

public:
    // The version of the schema this program writes. Files of an older version are upgraded
    // step by step when opened; a file of a newer version is refused, never changed.
    static constexpr int kSchemaVersion = 5;

    // When SQLite's check of a file runs: before the file is used, or (for a handle's load,
    // which only reads) beside the load, on a connection of its own, so that opening a big
    // book waits for the longer of the two rather than for both. Either way nothing is
    // written to a damaged file, and a damaged file is told as damaged.
    enum class IntegrityCheck { BeforeUse, WhileLoading };

    // Opens (creating when missing) the file and brings its schema up to date. WhileLoading
    // may return before the check is done; load then waits for it.
    [[nodiscard]] static std::shared_ptr<AddressBookDatabase> open(const std::filesystem::path& file, Error* error,
                                                                   IntegrityCheck check = IntegrityCheck::BeforeUse);

    ~AddressBookDatabase();
    AddressBookDatabase(const AddressBookDatabase&) = delete;
    AddressBookDatabase& operator=(const AddressBookDatabase&) = delete;

    // Reads every source, person, group and membership as of one moment; fails (Damaged)
    // when the file's check found it damaged.
    [[nodiscard]] bool load(AddressBook& book, AddressBookContents& contents, Error* error);

    // Writes the pending changes of a handle in one transaction. On success the records are
    // marked saved (identifiers, dates); on failure nothing in the file or in memory changes.
    [[nodiscard]] bool save(AddressBookContents& contents, Error* error);

    // A stored group as the stream of persons meets it: its name and its members in order.
    struct StoredGroup {
        RecordID recordID { kRecordInvalidID };
        std::optional<std::string> name;
        std::vector<RecordID> members;
    };
    // Reads the groups, then every person one at a time, each made for the call alone and
    // gone after it, all as of one moment: for going through a book of any size while holding
    // one person. `each` answers false to stop early.
    [[nodiscard]] bool readEachPerson(std::vector<StoredGroup>& groups, const std::function<bool(const Person&)>& each, Error* error);

    // Persons, groups and memberships added straight to the file in one transaction, for an
    // import of any size that no handle holds in memory. Whatever was added is taken back
    // when the addition is let go without a commit.
    class Addition {
    public:
        ~Addition();
        Addition(const Addition&) = delete;
        Addition& operator=(const Addition&) = delete;

        // The account added persons and groups join: the first local one.
        RecordID source() const { return m_source; }
        // Stores a new person (of the addition's account) and gives it its identifier.
        [[nodiscard]] bool addPerson(Person& person, Error* error);
        // The group of that name in the addition's account (the first made, when several
        // have it), or a new one; `created` says which.
        [[nodiscard]] bool groupNamed(const std::string& name, RecordID& group, bool& created, Error* error);
        // Puts the person at the end of the group; a member already there stays where it is.
        [[nodiscard]] bool addMember(RecordID group, RecordID person, Error* error);
        [[nodiscard]] bool commit(Error* error);
        // The card identifier stored with a person added (or stored before); none when none.
        std::optional<std::string> storedUid(RecordID person);

    private:
        friend class AddressBookDatabase;
        explicit Addition(AddressBookDatabase& database);

        AddressBookDatabase& m_database;
        std::unique_ptr<foundation::SqliteTransaction> m_transaction;
        std::unique_ptr<foundation::SqliteStatement> m_insertPerson;
        std::unique_ptr<foundation::SqliteStatement> m_findGroup;
        std::unique_ptr<foundation::SqliteStatement> m_insertGroup;
        std::unique_ptr<MemberInsertion> m_insertMember;
        RecordID m_source { kRecordInvalidID };
        std::int64_t m_nextID { 0 };
        std::int64_t m_savedAt { 0 };
        std::set<RecordID> m_grownGroups;
    };
    // Null with the error when the file cannot be written now.
    [[nodiscard]] std::unique_ptr<Addition> beginAddition(Error* error);

    std::optional<std::string> readImage(RecordID person, ImageFormat format);

    // The revision of the file's persons that the handle's loaded persons are (every write
    // of persons counts it up); none once another process wrote persons after the handle
    // read them, or an addition went straight to the file.
    std::optional<std::int64_t> personsRevision() const { return m_personsRevision; }
    // Data kept under the name for exactly that revision; none when none is kept for it.
    std::optional<std::string> readKeptPersonsData(std::string_view name);
    // Keeps data for the handle's revision; refused when the file's persons moved on.
    [[nodiscard]] bool writeKeptPersonsData(std::string_view name, std::string_view data, Error* error);

    // Runs inside every save's transaction after all rows are written and before the commit.
    // For tests that kill the process in the middle of a save.
    static void setBeforeCommitHookForTesting(std::function<void()> hook);

private:
    AddressBookDatabase() = default;
    // Starts SQLite's quick check of the file, now or beside the load.
    void startIntegrityCheck(IntegrityCheck check);
    // Refuses (Damaged) a file that failed the quick check, waiting for its verdict, or that
    // belongs to another program; found once, told at every call.
    [[nodiscard]] bool intact(Error* error);
    std::string damageFound();
    [[nodiscard]] bool loadContents(AddressBook& book, AddressBookContents& contents, Error* error);
    [[nodiscard]] bool prepareSchema(Error* error);
    // The search keys of many persons read together, gathered in one text: where each
    // person's keys are in it (kNone for a person without kept keys).
    struct KeysText {
        static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
        std::string text;
        std::vector<std::pair<std::size_t, std::size_t>> spans;
    };
    // Fills a person from a row of the person query; false when its lists are damaged (and
    // left out). Its kept search keys go to keysText when given (its last span is the
    // person's), else into the person.
    bool readPersonRow(sqlite3_stmt* row, Person& person, const std::shared_ptr<AddressBookDatabase>& images,
                       KeysText* keysText = nullptr) const;
    // Persons read together, and their search keys in one text the persons look into.
    struct LoadedPeople;
    // What a load reads persons for: the handle's accounts and the handle itself.
    struct PersonsFor {
        const std::vector<SourceRef>& sources;
        std::weak_ptr<AddressBook> book;
        std::shared_ptr<AddressBookDatabase> images;
    };
    // Reads the persons of identifiers from `first` to before `end` on a connection (this
    // file's, or another on the same file); null with the error when they cannot be read.
    std::shared_ptr<LoadedPeople> readPersonsBetween(sqlite3* connection, RecordID first, std::int64_t end, const PersonsFor& reader,
                                                     std::string& error) const;
    // The same on a connection of its own, for reading beside this one: null when that
    // connection does not see the persons this one sees (a write came between).
    std::shared_ptr<LoadedPeople> readPersonsBeside(RecordID first, std::int64_t end, std::int64_t personsRevision,
                                                    const PersonsFor& reader) const;
    // Whether the file is big enough that reading it on two threads at once is worth one.
    bool worthAThread() const;
    // Folds every person's search keys again when the file's were folded another way (or
    // never); see PersonSearchKeys.
    void refreshSearchKeys();
    // Writes the properties (and picture) a handle changed on a stored person over the
    // stored row, leaving the rest as other handles stored it. stillStored is false when the
    // person has been deleted meanwhile.
    // Binds every column of a new person to the person insert; a person without an
    // identifier of its own gets one, handed back in madeUid.
    void bindNewPerson(foundation::SqliteStatement& insert, Person& person, RecordID sourceID, Date savedAt, std::string& madeUid);
    [[nodiscard]] bool writeChangedProperties(Person& person, Date savedAt, bool& stillStored);

    sqlite3* m_connection { nullptr };
    std::filesystem::path m_file;
    // The quick check's verdict ("ok" or what is wrong), running or to run when first asked;
    // then what intact found: the damage, empty for a sound file.
    std::future<std::string> m_verdict;
    std::optional<std::string> m_damage;
    // Whether the search keys in the file were folded as this program folds.
    bool m_keptSearchKeysCurrent { false };
    std::optional<std::int64_t> m_personsRevision;
    std::shared_ptr<AddressBookDatabase> self();
    std::weak_ptr<AddressBookDatabase> m_self;
};

} // namespace contactstore
