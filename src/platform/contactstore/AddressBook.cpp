#include "platform/contactstore/AddressBook.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBookContents.h"
#include "platform/contactstore/AddressBookDatabase.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Localization.h"
#include "platform/contactstore/NameFormat.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/DataLocations.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace contactstore {

namespace {

bool sameRecord(const SourceRef& first, const SourceRef& second)
{
    return first == second
        || (first && second && first->recordID() != kRecordInvalidID && first->recordID() == second->recordID());
}

// The list of a handle that holds records of the given record's type.
template <typename Ref>
bool holds(const std::vector<Ref>& records, const Record& record)
{
    if (record.recordID() != kRecordInvalidID) {
        auto found = recordPosition(records, record.recordID());
        return found != records.end() && found->get() == &record;
    }
    // Unsaved additions are the tail of the list.
    for (auto entry = records.rbegin(); entry != records.rend() && (*entry)->recordID() == kRecordInvalidID; ++entry) {
        if (entry->get() == &record)
            return true;
    }
    return false;
}

template <typename Ref>
void insertInOrder(std::vector<Ref>& records, Ref record)
{
    auto position = std::upper_bound(records.begin(), records.end(), recordOrder(record->recordID()),
                                     [](std::uint32_t wanted, const Ref& entry) { return wanted < recordOrder(entry->recordID()); });
    records.insert(position, std::move(record));
}

template <typename Ref>
void eraseRecord(std::vector<Ref>& records, const Record& record)
{
    if (record.recordID() != kRecordInvalidID) {
        auto found = recordPosition(records, record.recordID());
        if (found != records.end() && found->get() == &record)
            records.erase(found);
        return;
    }
    // Unsaved additions sit at the end, and an import taking back what it added removes
    // them last first: searching from the end keeps that linear overall.
    auto found = std::find_if(records.rbegin(), records.rend(), [&record](const Ref& entry) { return entry.get() == &record; });
    if (found != records.rend())
        records.erase(std::next(found).base());
}

} // namespace

AddressBook::AddressBook(PassKey, std::filesystem::path databasePath, bool accessGranted)
    : m_databasePath(std::move(databasePath))
    , m_accessGranted(accessGranted)
    , m_contents(std::make_unique<AddressBookContents>())
{
}

AddressBook::~AddressBook() = default;

AddressBookRef AddressBook::create(Error* error)
{
    return createAt(foundation::DataLocations::addressBookDirectory(), error);
}

AddressBookRef AddressBook::createAt(const std::filesystem::path& directory, Error* error)
{
    bool granted = !AccessControl::isAccessRefused();
    auto book = std::make_shared<AddressBook>(PassKey {}, directory / kDatabaseFileName, granted);
    // A refused handle must not even create the file: the user said no.
    if (!granted)
        return book;
    if (!foundation::DataLocations::ensureDirectory(directory)) {
        reportError(error, ErrorCode::StorageFailed, "The address book folder " + directory.string() + " cannot be created.");
        return nullptr;
    }
    book->m_database = AddressBookDatabase::open(book->m_databasePath, error, AddressBookDatabase::IntegrityCheck::WhileLoading);
    if (!book->m_database || !book->m_database->load(*book, *book->m_contents, error))
        return nullptr;
    return book;
}

PersonRef AddressBook::personWithRecordID(RecordID recordID) const
{
    return findRecord(m_contents->people, recordID);
}

GroupRef AddressBook::groupWithRecordID(RecordID recordID) const
{
    return findRecord(m_contents->groups, recordID);
}

SourceRef AddressBook::sourceWithRecordID(RecordID recordID) const
{
    return findRecord(m_contents->sources, recordID);
}

std::vector<PersonRef> AddressBook::copyArrayOfAllPeople() const
{
    return m_contents->people;
}

std::vector<PersonRef> AddressBook::copyArrayOfAllPeopleInSource(const SourceRef& source) const
{
    std::vector<PersonRef> people;
    if (!source)
        return people;
    for (const auto& person : m_contents->people) {
        if (sameRecord(person->m_source, source))
            people.push_back(person);
    }
    return people;
}

std::size_t AddressBook::personCount() const
{
    return m_contents->people.size();
}

std::vector<GroupRef> AddressBook::copyArrayOfAllGroups() const
{
    return m_contents->groups;
}

std::vector<GroupRef> AddressBook::copyArrayOfAllGroupsInSource(const SourceRef& source) const
{
    std::vector<GroupRef> groups;
    if (!source)
        return groups;
    for (const auto& group : m_contents->groups) {
        if (sameRecord(group->m_source, source))
            groups.push_back(group);
    }
    return groups;
}

std::size_t AddressBook::groupCount() const
{
    return m_contents->groups.size();
}

std::vector<SourceRef> AddressBook::copyArrayOfAllSources() const
{
    return m_contents->sources;
}

SourceRef AddressBook::copyDefaultSource() const
{
    for (const auto& source : m_contents->sources) {
        if (source->sourceType() == kSourceTypeLocal)
            return source;
    }
    return m_contents->sources.empty() ? nullptr : m_contents->sources.front();
}

bool AddressBook::belongsHere(const Record& record) const
{
    if (record.m_book.lock().get() != this)
        return false;
    switch (record.recordType()) {
    case kPersonType:
        return holds(m_contents->people, record);
    case kGroupType:
        return holds(m_contents->groups, record);
    case kSourceType:
        return holds(m_contents->sources, record);
    default:
        return false;
    }
}

bool AddressBook::addRecord(const RecordRef& record, Error* error)
{
    if (!record) {
        reportError(error, ErrorCode::WrongRecordType, "There is no record to add.");
        return false;
    }
    if (!m_accessGranted) {
        reportError(error, ErrorCode::AccessDenied, "The user has not allowed access to the contacts.");
        return false;
    }
    if (belongsHere(*record))
        return true;

    auto owner = record->m_book.lock();
    if (record->recordID() != kRecordInvalidID) {
        bool ownRemoved = owner.get() == this;
        bool seenHere = (record->recordType() == kPersonType && personWithRecordID(record->recordID()))
            || (record->recordType() == kGroupType && groupWithRecordID(record->recordID()))
            || (record->recordType() == kSourceType && sourceWithRecordID(record->recordID()));
        if (seenHere)
            return true;
        if (!ownRemoved) {
            reportError(error, ErrorCode::NotInAddressBook, "The record belongs to another address book.");
            return false;
        }
        // Taken out through this handle and put back before saving: the removal is undone.
        if (auto person = std::dynamic_pointer_cast<Person>(record)) {
            std::erase(m_contents->removedPeople, person->recordID());
            insertInOrder(m_contents->people, person);
        } else if (auto group = std::dynamic_pointer_cast<Group>(record)) {
            std::erase(m_contents->removedGroups, group->recordID());
            insertInOrder(m_contents->groups, group);
        }
        return true;
    }
    if (owner && owner.get() != this) {
        reportError(error, ErrorCode::NotInAddressBook, "The record belongs to another address book.");
        return false;
    }

    // A person or group joins an account of this handle: its own default, or the account
    // it names (matched by identifier when it names another handle's copy of it).
    auto ownSource = [this, error](const SourceRef& named) -> SourceRef {
        if (!named)
            return copyDefaultSource();
        if (belongsHere(*named))
            return named;
        if (auto counterpart = sourceWithRecordID(named->recordID()))
            return counterpart;
        reportError(error, ErrorCode::NotInAddressBook, "The account is not in this address book.");
        return nullptr;
    };

    std::weak_ptr<AddressBook> self = weak_from_this();
    if (auto person = std::dynamic_pointer_cast<Person>(record)) {
        SourceRef source = ownSource(person->m_source);
        if (!source)
            return false;
        person->m_source = std::move(source);
        person->m_book = self;
        person->markChanged();
        m_contents->people.push_back(std::move(person));
        return true;
    }
    if (auto group = std::dynamic_pointer_cast<Group>(record)) {
        SourceRef source = ownSource(group->m_source);
        if (!source)
            return false;
        group->m_source = std::move(source);
        group->m_book = self;
        group->markChanged();
        m_contents->groups.push_back(std::move(group));
        return true;
    }
    if (auto source = std::dynamic_pointer_cast<Source>(record)) {
        source->m_book = self;
        source->markChanged();
        m_contents->sources.push_back(std::move(source));
        return true;
    }
    reportError(error, ErrorCode::WrongRecordType, "The record cannot be added to an address book.");
    return false;
}

bool AddressBook::removeOne(const RecordRef& record, bool leaveGroups, Error* error)
{
    if (!record) {
        reportError(error, ErrorCode::NotInAddressBook, "There is no record to remove.");
        return false;
    }
    if (!m_accessGranted) {
        reportError(error, ErrorCode::AccessDenied, "The user has not allowed access to the contacts.");
        return false;
    }
    if (record->recordType() == kSourceType) {
        reportError(error, ErrorCode::WrongRecordType, "Accounts cannot be removed from the address book.");
        return false;
    }

    if (record->recordType() == kPersonType) {
        PersonRef person = ownPerson(record);
        if (!person) {
            reportError(error, ErrorCode::NotInAddressBook, "The person is not in the address book.");
            return false;
        }
        if (leaveGroups) {
            for (const auto& group : m_contents->groups)
                group->dropMember(person.get());
        }
        if (person->recordID() != kRecordInvalidID)
            m_contents->removedPeople.push_back(person->recordID());
        eraseRecord(m_contents->people, *person);
        noteChange();
        return true;
    }

    GroupRef group = belongsHere(*record) ? std::static_pointer_cast<Group>(record) : groupWithRecordID(record->recordID());
    if (!group) {
        reportError(error, ErrorCode::NotInAddressBook, "The group is not in the address book.");
        return false;
    }
    if (group->recordID() != kRecordInvalidID)
        m_contents->removedGroups.push_back(group->recordID());
    eraseRecord(m_contents->groups, *group);
    noteChange();
    return true;
}

bool AddressBook::removeRecord(const RecordRef& record, Error* error)
{
    return removeOne(record, true, error);
}

bool AddressBook::removeRecords(const std::vector<RecordRef>& records, Error* error)
{
    if (m_accessGranted) {
        // A person of this handle is taken as it is (groups hold only the handle's own
        // persons, so one it does not hold drops nobody); another handle's by identifier.
        std::unordered_set<const Person*> leaving;
        for (const auto& record : records) {
            if (!record || record->recordType() != kPersonType)
                continue;
            if (record->m_book.lock().get() == this)
                leaving.insert(static_cast<const Person*>(record.get()));
            else if (PersonRef person = personWithRecordID(record->recordID()))
                leaving.insert(person.get());
        }
        for (const auto& group : m_contents->groups)
            group->dropMembers(leaving);
    }
    for (const auto& record : records) {
        if (!removeOne(record, false, error))
            return false;
    }
    return true;
}

PersonRef AddressBook::ownPerson(const RecordRef& record) const
{
    return belongsHere(*record) ? std::static_pointer_cast<Person>(record) : personWithRecordID(record->recordID());
}

bool AddressBook::hasUnsavedChanges() const
{
    const auto& contents = *m_contents;
    auto pending = [](const auto& record) { return record->recordID() == kRecordInvalidID || record->hasUnsavedChanges(); };
    return !contents.removedPeople.empty() || !contents.removedGroups.empty()
        || std::any_of(contents.sources.begin(), contents.sources.end(), pending)
        || std::any_of(contents.people.begin(), contents.people.end(), pending)
        || std::any_of(contents.groups.begin(), contents.groups.end(), pending);
}

bool AddressBook::save(Error* error)
{
    if (!m_accessGranted) {
        reportError(error, ErrorCode::AccessDenied, "The user has not allowed access to the contacts.");
        return false;
    }
    if (!hasUnsavedChanges())
        return true;
    noteChange();
    if (!m_database->save(*m_contents, error))
        return false;
    m_changeCountInFile = m_changeCount;
    return true;
}

std::optional<std::string> AddressBook::copyKeptPersonsData(std::string_view name) const
{
    if (!m_database || m_changeCount != m_changeCountInFile)
        return std::nullopt;
    return m_database->readKeptPersonsData(name);
}

bool AddressBook::keepPersonsData(std::string_view name, std::string_view data, Error* error)
{
    if (!m_database || m_changeCount != m_changeCountInFile) {
        reportError(error, ErrorCode::StorageFailed, "The persons have changes that are not saved.");
        return false;
    }
    return m_database->writeKeptPersonsData(name, data, error);
}

CompositeNameFormat AddressBook::compositeNameFormat()
{
    return NameFormat::compositeNameFormat();
}

std::string AddressBook::copyLocalizedLabel(std::optional<std::string_view> label)
{
    return Localization::localizedLabel(label);
}

} // namespace contactstore
