#include "addressbook/AddressBookGroup.h"

#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/Log.h"

namespace tessaro {

using namespace contactstore;

namespace {

bool canHoldNewGroups(SourceType type)
{
    // Exchange keeps its groups on the server; searched directories other than LDAP hold none.
    return type == kSourceTypeLocal || type == kSourceTypeMobileMe || type == kSourceTypeCardDAV || type == kSourceTypeLDAP;
}

} // namespace

AddressBookGroup::AddressBookGroup(GroupRef record)
    : m_record(std::move(record))
{
}

std::optional<AddressBookGroup> AddressBookGroup::groupWithRecord(GroupRef record)
{
    if (!record)
        return std::nullopt;
    return AddressBookGroup(std::move(record));
}

std::optional<AddressBookGroup> AddressBookGroup::groupWithRecordID(RecordID recordID)
{
    auto book = SharedAddressBook::get();
    if (!book)
        return std::nullopt;
    return groupWithRecord(book->groupWithRecordID(recordID));
}

std::optional<AddressBookGroup> AddressBookGroup::group()
{
    auto book = SharedAddressBook::get();
    if (!book)
        return std::nullopt;
    for (const auto& source : book->copyArrayOfAllSources()) {
        if (canHoldNewGroups(source->sourceType()))
            return AddressBookGroup(Group::createInSource(source));
    }
    return std::nullopt;
}

GroupRef AddressBookGroup::live() const
{
    if (m_record->recordID() == kRecordInvalidID)
        return m_record;
    auto book = SharedAddressBook::get();
    if (!book || m_record->addressBook() == book)
        return m_record;
    auto counterpart = book->groupWithRecordID(m_record->recordID());
    return counterpart ? counterpart : m_record;
}

RecordID AddressBookGroup::recordID() const
{
    return m_record->recordID();
}

RecordType AddressBookGroup::recordType() const
{
    return m_record->recordType();
}

std::string AddressBookGroup::name() const
{
    return live()->copyCompositeName().value_or(std::string());
}

void AddressBookGroup::setName(const std::optional<std::string>& name)
{
    Error error;
    GroupRef group = live();
    bool written = name ? group->setValue(kGroupNameProperty, *name, &error) : group->removeValue(kGroupNameProperty, &error);
    if (!written)
        foundation::log("Error: " + error.localizedDescription());
}

std::optional<std::string> AddressBookGroup::getRecordString(PropertyID property) const
{
    return live()->copyString(property);
}

std::vector<Contact> AddressBookGroup::members() const
{
    return Contact::contactsWithRecords(live()->copyArrayOfAllMembers());
}

std::vector<Contact> AddressBookGroup::membersWithSorting(int ordering) const
{
    SortOrdering sortOrdering = ordering == static_cast<int>(SortOrdering::ByLastName) ? SortOrdering::ByLastName : SortOrdering::ByFirstName;
    return Contact::contactsWithRecords(live()->copyArrayOfAllMembersWithSortOrdering(sortOrdering));
}

bool AddressBookGroup::addMember(const Contact& contact, Error* error)
{
    return live()->addMember(contact.record(), error);
}

bool AddressBookGroup::removeMember(const Contact& contact, Error* error)
{
    return live()->removeMember(contact.record(), error);
}

bool AddressBookGroup::removeSelfFromAddressBook(Error* error)
{
    auto book = SharedAddressBook::get();
    if (!book) {
        reportError(error, ErrorCode::NotInAddressBook, "There is no address book.");
        return false;
    }
    return book->removeRecord(m_record, error) && book->save(error);
}

} // namespace tessaro
