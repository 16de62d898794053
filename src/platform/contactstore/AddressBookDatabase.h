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
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct sqlite3;

namespace contactstore {

struct AddressBookContents;

class AddressBookDatabase {
public:
    // The version of the schema this program writes. Files of an older version are upgraded
    // step by step when opened; a file of a newer version is refused, never changed.
    static constexpr int kSchemaVersion = 3;

    // Opens (creating when missing) the file and brings its schema up to date.
    [[nodiscard]] static std::shared_ptr<AddressBookDatabase> open(const std::filesystem::path& file, Error* error);

    ~AddressBookDatabase();
    AddressBookDatabase(const AddressBookDatabase&) = delete;
    AddressBookDatabase& operator=(const AddressBookDatabase&) = delete;

    // Reads every source, person, group and membership as of one moment.
    [[nodiscard]] bool load(AddressBook& book, AddressBookContents& contents, Error* error);

    // Writes the pending changes of a handle in one transaction. On success the records are
    // marked saved (identifiers, dates); on failure nothing in the file or in memory changes.
    [[nodiscard]] bool save(AddressBookContents& contents, Error* error);

    std::optional<std::string> readImage(RecordID person, ImageFormat format);

    // Runs inside every save's transaction after all rows are written and before the commit.
    // For tests that kill the process in the middle of a save.
    static void setBeforeCommitHookForTesting(std::function<void()> hook);

private:
    AddressBookDatabase() = default;
    // Refuses (Damaged) a file that fails SQLite's quick check or belongs to another program.
    [[nodiscard]] bool checkIntegrity(const std::filesystem::path& file, Error* error);
    [[nodiscard]] bool prepareSchema(Error* error);
    // Writes the properties (and picture) a handle changed on a stored person over the
    // stored row, leaving the rest as other handles stored it. stillStored is false when the
    // person has been deleted meanwhile.
    [[nodiscard]] bool writeChangedProperties(Person& person, Date savedAt, bool& stillStored);

    sqlite3* m_connection { nullptr };
    std::shared_ptr<AddressBookDatabase> self();
    std::weak_ptr<AddressBookDatabase> m_self;
};

} // namespace contactstore
