#pragma once
// A handle on the device's address book. A handle sees the store as it was when the handle
// was created, plus its own pending changes: records added, removed or changed through it.
// save() writes all pending changes in one transaction, or none of them; a handle created
// afterwards (in this process or another) sees what was saved.
//
// Handles are shared (AddressBookRef); records read through a handle keep a weak link back
// to it, and the handle owns the file connection. One thread at a time.
//
// When the user has refused access (AccessControl), a handle holds no records, never
// touches the file, and every write fails with ErrorCode::AccessDenied.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/contactstore/StoreError.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace contactstore {

class AddressBookDatabase;
struct AddressBookContents;

class AddressBook : public std::enable_shared_from_this<AddressBook> {
public:
    // The store's file inside its folder.
    static constexpr char kDatabaseFileName[] = "AddressBook.sqlite";

    // Opens the store of the profile (DataLocations::addressBookDirectory()), creating the
    // folder and an empty store (one local source) when missing. Null with an error when
    // the file cannot be opened or read.
    [[nodiscard]] static AddressBookRef create(Error* error = nullptr);
    // The same on the store in any folder.
    [[nodiscard]] static AddressBookRef createAt(const std::filesystem::path& directory, Error* error = nullptr);

    ~AddressBook();
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;

    bool isAccessGranted() const { return m_accessGranted; }
    const std::filesystem::path& databasePath() const { return m_databasePath; }

    // Lookups by identifier among the records this handle sees; null when none.
    PersonRef personWithRecordID(RecordID recordID) const;
    GroupRef groupWithRecordID(RecordID recordID) const;
    SourceRef sourceWithRecordID(RecordID recordID) const;

    // Every person, in the store's order (the order of first saving); lists are new on
    // every call and belong to the caller.
    std::vector<PersonRef> copyArrayOfAllPeople() const;
    std::vector<PersonRef> copyArrayOfAllPeopleInSource(const SourceRef& source) const;
    std::size_t personCount() const;

    std::vector<GroupRef> copyArrayOfAllGroups() const;
    std::vector<GroupRef> copyArrayOfAllGroupsInSource(const SourceRef& source) const;
    std::size_t groupCount() const;

    // Every account, in the order they were made; a new store has exactly one, local.
    std::vector<SourceRef> copyArrayOfAllSources() const;
    // The account new persons and groups join when none is named: the first local one.
    SourceRef copyDefaultSource() const;

    // Puts a new record into this address book (pending until save). A person or group
    // must be of a source in this book; one without a source joins the default source.
    // Adding a record that is already in the book succeeds and changes nothing.
    [[nodiscard]] bool addRecord(const RecordRef& record, Error* error = nullptr);
    // Takes a person or group out of the book (pending until save); a person leaves every
    // group. A record of another handle is matched by identifier. False with
    // NotInAddressBook when the book does not hold it; sources cannot be removed.
    [[nodiscard]] bool removeRecord(const RecordRef& record, Error* error = nullptr);
    // Takes many records out at once, as removeRecord does each; the persons leave their
    // groups in one pass over the groups, so that taking back thousands costs no more than
    // looking at every membership once. Stops at the first record it cannot take out.
    [[nodiscard]] bool removeRecords(const std::vector<RecordRef>& records, Error* error = nullptr);

    bool hasUnsavedChanges() const;
    // Writes every pending change in one transaction. On failure nothing is written, the
    // changes stay pending, and the error says why. New records get their identifiers
    // here; creation and modification dates are kept here.
    [[nodiscard]] bool save(Error* error = nullptr);

    // Counts the changes seen through this handle: records added, removed, changed and saved.
    // What is derived from the handle's records compares it to know when to derive again.
    std::uint64_t changeCount() const { return m_changeCount; }

    // Data a layer above derives from every person and keeps in the file to spare the work
    // at the next start (the persons' order by name for one language, say), under a name
    // that says what it is and how it was made. Handed back only when it was made from the
    // persons exactly as this handle holds them: a change to a person through this handle,
    // or one saved by another before this handle read the file, makes it none until it is
    // kept again.
    std::optional<std::string> copyKeptPersonsData(std::string_view name) const;
    // Keeps data derived from the handle's persons; false (nothing written) when they are not
    // the file's persons as they stand: unsaved changes, or another handle wrote persons.
    bool keepPersonsData(std::string_view name, std::string_view data, Error* error = nullptr);

    // How composite names are built for the current language (NameFormat).
    static CompositeNameFormat compositeNameFormat();
    // The display form of a stored label (Localization); the empty text for no label.
    static std::string copyLocalizedLabel(std::optional<std::string_view> label);

private:
    friend class Record;
    friend class Person;
    friend class Group;
    friend class AddressBookDatabase;

    struct PassKey {};

public:
    AddressBook(PassKey, std::filesystem::path databasePath, bool accessGranted);

private:
    bool belongsHere(const Record& record) const;
    void forgetPerson(const Person& person);
    // The book's own record for a person given by reference or identifier; null when none.
    PersonRef ownPerson(const RecordRef& record) const;
    // removeRecord's work; a person leaves its groups only when leaveGroups says so.
    bool removeOne(const RecordRef& record, bool leaveGroups, Error* error);
    void noteChange() { ++m_changeCount; }

    std::filesystem::path m_databasePath;
    bool m_accessGranted { true };
    std::shared_ptr<AddressBookDatabase> m_database;
    // What the handle sees: loaded records (in contiguous storage) and records added since.
    std::unique_ptr<AddressBookContents> m_contents;
    std::uint64_t m_changeCount { 0 };
    // The change count when the handle's records last were the file's (loaded or saved).
    std::uint64_t m_changeCountInFile { 0 };
};

} // namespace contactstore
