#include "addressbook/AddressBookQueries.h"

#include "addressbook/ContactSearchKeys.h"
#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/TextFolding.h"

#include <algorithm>

namespace tessaro {

using namespace contactstore;
using foundation::TextFolding;

namespace {

std::vector<PersonRef> allPeople()
{
    auto book = SharedAddressBook::get();
    return book ? book->copyArrayOfAllPeople() : std::vector<PersonRef>();
}

bool matchesFourNames(const ContactSearchKeys& keys, std::string_view text)
{
    return TextFolding::contains(keys.firstname, text) || TextFolding::contains(keys.lastname, text)
        || TextFolding::contains(keys.nickname, text) || TextFolding::contains(keys.middlename, text);
}

template <typename Test>
std::vector<Contact> peopleWhere(const std::vector<PersonRef>& people, Test test)
{
    std::vector<Contact> matches;
    for (const auto& person : people) {
        if (test(*person))
            matches.push_back(*Contact::contactWithRecord(person));
    }
    return matches;
}

bool hasEntries(const Person& person, PropertyID property)
{
    return person.hasEntries(property);
}

} // namespace

std::vector<Contact> AddressBookQueries::contacts()
{
    return Contact::contactsWithRecords(allPeople());
}

std::size_t AddressBookQueries::contactsCount()
{
    auto book = SharedAddressBook::get();
    return book ? book->personCount() : 0;
}

std::size_t AddressBookQueries::contactsWithImageCount()
{
    auto people = allPeople();
    return static_cast<std::size_t>(std::count_if(people.begin(), people.end(), [](const PersonRef& person) { return person->hasImageData(); }));
}

std::size_t AddressBookQueries::contactsWithoutImageCount()
{
    auto people = allPeople();
    return static_cast<std::size_t>(std::count_if(people.begin(), people.end(), [](const PersonRef& person) { return !person->hasImageData(); }));
}

std::vector<AddressBookGroup> AddressBookQueries::groups()
{
    std::vector<AddressBookGroup> groups;
    auto book = SharedAddressBook::get();
    if (!book)
        return groups;
    for (const auto& group : book->copyArrayOfAllGroups()) {
        if (auto wrapper = AddressBookGroup::groupWithRecord(group))
            groups.push_back(std::move(*wrapper));
    }
    return groups;
}

std::size_t AddressBookQueries::numberOfGroups()
{
    auto book = SharedAddressBook::get();
    return book ? book->groupCount() : 0;
}

bool AddressBookQueries::firstNameSorting()
{
    return AddressBook::compositeNameFormat() == CompositeNameFormat::FirstNameFirst;
}

namespace {

bool addAndSave(const RecordRef& record, Error* error)
{
    auto book = SharedAddressBook::get();
    if (!book) {
        reportError(error, ErrorCode::NotInAddressBook, "There is no address book.");
        return false;
    }
    return book->addRecord(record, error) && book->save(error);
}

} // namespace

bool AddressBookQueries::addContact(const Contact& contact, Error* error)
{
    return addAndSave(contact.record(), error);
}

bool AddressBookQueries::addGroup(const AddressBookGroup& group, Error* error)
{
    return addAndSave(group.record(), error);
}

std::vector<Contact> AddressBookQueries::contactsMatchingName(std::string_view text, const std::vector<Contact>& contacts)
{
    std::string folded = TextFolding::shared().fold(text);
    std::vector<Contact> matches;
    if (folded.empty())
        return matches;
    for (const auto& contact : contacts) {
        const ContactSearchKeys& keys = ContactSearchKeys::of(*contact.record());
        if (matchesFourNames(keys, folded) || TextFolding::contains(keys.firstnamephonetic, folded)
            || TextFolding::contains(keys.lastnamephonetic, folded) || TextFolding::contains(keys.phonenumbersforsearch, folded))
            matches.push_back(contact);
    }
    return matches;
}

std::vector<Contact> AddressBookQueries::contactsMatchingName(std::string_view text)
{
    std::string folded = TextFolding::shared().fold(text);
    if (folded.empty())
        return {};
    return peopleWhere(allPeople(), [&folded](const Person& person) { return matchesFourNames(ContactSearchKeys::of(person), folded); });
}

std::vector<Contact> AddressBookQueries::contactsMatchingName(std::string_view text, std::string_view secondText)
{
    std::string first = TextFolding::shared().fold(text);
    std::string second = TextFolding::shared().fold(secondText);
    if (first.empty() || second.empty())
        return {};
    return peopleWhere(allPeople(), [&first, &second](const Person& person) {
        const ContactSearchKeys& keys = ContactSearchKeys::of(person);
        return matchesFourNames(keys, first) && matchesFourNames(keys, second);
    });
}

std::vector<Contact> AddressBookQueries::contactsMatchingPhone(std::string_view digits)
{
    std::string folded = TextFolding::shared().fold(digits);
    if (folded.empty())
        return {};
    return peopleWhere(allPeople(), [&folded](const Person& person) {
        return TextFolding::contains(ContactSearchKeys::of(person).phonenumbersforsearch, folded);
    });
}

std::vector<AddressBookGroup> AddressBookQueries::groupsMatchingName(std::string_view text)
{
    std::string folded = TextFolding::shared().fold(text);
    std::vector<AddressBookGroup> matches;
    if (folded.empty())
        return matches;
    for (auto& group : groups()) {
        if (TextFolding::contains(TextFolding::shared().fold(group.name()), folded))
            matches.push_back(std::move(group));
    }
    return matches;
}

bool AddressBookQueries::isExchangePeople(const Contact& contact)
{
    auto book = SharedAddressBook::get();
    if (!book || contact.recordID() == kRecordInvalidID)
        return false;
    for (const auto& source : book->copyArrayOfAllSources()) {
        if (source->sourceType() != kSourceTypeExchange)
            continue;
        // Only the first Exchange account counts.
        auto people = book->copyArrayOfAllPeopleInSource(source);
        return std::any_of(people.begin(), people.end(), [&contact](const PersonRef& person) { return person->recordID() == contact.recordID(); });
    }
    return false;
}

std::vector<Contact> AddressBookQueries::getNoNumberContacts()
{
    return peopleWhere(allPeople(), [](const Person& person) { return !hasEntries(person, kPersonPhoneProperty); });
}

std::vector<Contact> AddressBookQueries::getNoEmailContacts()
{
    return peopleWhere(allPeople(), [](const Person& person) { return !hasEntries(person, kPersonEmailProperty); });
}

} // namespace tessaro
