#include "screens/groups/GroupPersons.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "store/DataManager.h"

#include <unordered_set>

namespace tessaro {

namespace {

// Persons of the shared address book, told apart by the record itself: a group's members
// are the book's own records, so nobody needs to be looked up or read to be counted.
using Persons = std::unordered_set<const contactstore::Person*>;

void addMembersOf(const GroupObject& group, const contactstore::AddressBook& book, Persons& grouped)
{
    int identifier = GroupKinds::intValue(group.groupID);
    if (GroupKinds::isLocalGroup(group)) {
        // Rows of persons that no longer exist match nobody in the address book, so they
        // take nobody away.
        for (auto member : DataManager::sharedDataBase().selectLocalGroupMemberIDsWithID(identifier)) {
            if (auto person = book.personWithRecordID(member))
                grouped.insert(person.get());
        }
        return;
    }
    if (auto addressBookGroup = AddressBookGroup::groupWithRecordID(identifier)) {
        for (const auto& member : addressBookGroup->members())
            grouped.insert(member.record().get());
    }
}

// Everyone who is in at least one real group of a fresh catalogue. The catalogue's first two
// entries are all contacts and contacts in no group, which hold nobody of their own.
Persons groupedPersons(const contactstore::AddressBook& book)
{
    auto catalogue = Utility::sharedUtility().getAllGroupObject();
    Persons grouped;
    for (std::size_t index = 2; index < catalogue.size(); ++index) {
        if (GroupKinds::isRealGroup(catalogue[index]))
            addMembersOf(catalogue[index], book, grouped);
    }
    return grouped;
}

} // namespace

std::vector<Contact> GroupPersons::personsOfGroup(const GroupObject& group)
{
    int identifier = GroupKinds::intValue(group.groupID);
    if (identifier == -1)
        return AddressBookQueries::contacts();
    if (identifier == -2)
        return noGroupContacts();
    if (group.groupID == GroupKinds::kNoNumberGroupID)
        return AddressBookQueries::getNoNumberContacts();
    if (group.groupID == GroupKinds::kNoEmailGroupID)
        return AddressBookQueries::getNoEmailContacts();
    if (GroupKinds::isLocalGroup(group))
        return DataManager::sharedDataBase().selectLocalGroupMemberWithID(identifier);
    auto addressBookGroup = AddressBookGroup::groupWithRecordID(identifier);
    return addressBookGroup ? addressBookGroup->membersWithSorting(0) : std::vector<Contact>();
}

std::vector<Contact> GroupPersons::noGroupContacts()
{
    auto book = SharedAddressBook::get();
    if (!book)
        return {};
    Persons grouped = groupedPersons(*book);
    std::vector<Contact> persons = AddressBookQueries::contacts();
    std::erase_if(persons, [&grouped](const Contact& person) { return grouped.count(person.record().get()) > 0; });
    return persons;
}

std::size_t GroupPersons::noGroupContactsCount()
{
    auto book = SharedAddressBook::get();
    if (!book)
        return 0;
    std::size_t all = book->personCount();
    std::size_t grouped = groupedPersons(*book).size();
    return grouped >= all ? 0 : all - grouped;
}

std::size_t GroupPersons::memberCount(const GroupObject& group)
{
    int identifier = GroupKinds::intValue(group.groupID);
    if (GroupKinds::isLocalGroup(group))
        return DataManager::sharedDataBase().selectLocalGroupMemberWithID(identifier).size();
    auto addressBookGroup = AddressBookGroup::groupWithRecordID(identifier);
    return addressBookGroup ? addressBookGroup->members().size() : 0;
}

} // namespace tessaro
