#include "addressbook/AddressBookQueries.h"

#include "addressbook/ContactDirectory.h"
#include "addressbook/ContactSearchKeys.h"
#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/SortKeyOrder.h"
#include "platform/foundation/TextFolding.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace tessaro {

using namespace contactstore;
using foundation::TextFolding;

namespace {

std::vector<PersonRef> allPeople()
{
    auto book = SharedAddressBook::get();
    return book ? book->copyArrayOfAllPeople() : std::vector<PersonRef>();
}

bool matchesEveryField(const ContactSearchKeys& keys, std::string_view text)
{
    return TextFolding::contains(keys.firstname, text) || TextFolding::contains(keys.lastname, text)
        || TextFolding::contains(keys.nickname, text) || TextFolding::contains(keys.middlename, text)
        || TextFolding::contains(keys.firstnamephonetic, text) || TextFolding::contains(keys.lastnamephonetic, text)
        || TextFolding::contains(keys.phonenumbersforsearch, text);
}

struct Wanted {
    std::string_view folded;
    ContactDirectory::Fields fields;
};

// The positions of the directory's persons that have every wanted text in one of their
// fields, ascending.
std::vector<std::uint32_t> positionsWhere(ContactDirectory& directory, std::initializer_list<Wanted> wanted)
{
    std::vector<std::uint32_t> found;
    bool first = true;
    for (const auto& text : wanted) {
        auto hits = directory.positionsMatching(text.folded, text.fields);
        if (first) {
            found = std::move(hits);
            first = false;
            continue;
        }
        std::vector<std::uint32_t> both;
        std::set_intersection(found.begin(), found.end(), hits.begin(), hits.end(), std::back_inserter(both));
        found = std::move(both);
    }
    return found;
}

// The positions in the book's order by name; equal names in the book's order.
void putInNameOrder(std::vector<std::uint32_t>& positions, const ContactDirectory::NameOrder& order)
{
    std::vector<std::uint32_t> ranks;
    ranks.reserve(positions.size());
    for (std::uint32_t position : positions)
        ranks.push_back(order.ranks[position]);
    std::vector<std::uint32_t> ordered;
    ordered.reserve(positions.size());
    for (std::uint32_t index : foundation::orderOfRanks(ranks, order.ranks.size()))
        ordered.push_back(positions[index]);
    positions = std::move(ordered);
}

// The directory's persons that have every wanted text in one of its fields, in the book's
// order or in its order by name.
std::vector<Contact> bookPeopleWhere(ContactDirectory& directory, std::initializer_list<Wanted> wanted,
                                     const ContactDirectory::NameOrder* order = nullptr)
{
    std::vector<std::uint32_t> positions = positionsWhere(directory, wanted);
    if (order && order->byName.size() == directory.people().size())
        putInNameOrder(positions, *order);
    return Contact::contactsWithRecords(directory.persons(positions));
}

std::vector<Contact> bookPeopleWhere(std::initializer_list<Wanted> wanted)
{
    auto directory = ContactDirectory::current();
    return directory ? bookPeopleWhere(*directory, wanted) : std::vector<Contact>();
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
    auto directory = ContactDirectory::current();
    return directory ? Contact::contactsWithRecords(directory->allPersons()) : std::vector<Contact>();
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

void AddressBookQueries::prepareSearch()
{
    (void)TextFolding::shared().fold("a");
    if (auto directory = ContactDirectory::current())
        directory->prepareSearch();
}

std::vector<Contact> AddressBookQueries::contactsMatchingName(std::string_view text, const std::vector<Contact>& contacts)
{
    std::string folded = TextFolding::shared().fold(text);
    std::vector<Contact> matches;
    if (folded.empty())
        return matches;
    auto directory = ContactDirectory::current();
    std::vector<char> found(directory ? directory->people().size() : 0, 0);
    if (directory) {
        for (std::uint32_t position : directory->positionsMatching(folded, ContactDirectory::kEveryField))
            found[position] = 1;
    }
    std::size_t hint = 0;
    for (const auto& contact : contacts) {
        std::size_t position = directory ? directory->positionOf(contact.record().get(), hint) : ContactDirectory::npos;
        if (position != ContactDirectory::npos) {
            hint = position + 1;
            if (found[position])
                matches.push_back(contact);
        } else if (matchesEveryField(ContactSearchKeys::of(*contact.record()), folded)) {
            // A person of no book, or of another handle, is looked at on its own.
            matches.push_back(contact);
        }
    }
    return matches;
}

std::vector<Contact> AddressBookQueries::contactsMatchingText(std::string_view text, ContactDirectory& directory,
                                                              const ContactDirectory::NameOrder& order)
{
    std::string folded = TextFolding::shared().fold(text);
    if (folded.empty())
        return {};
    return bookPeopleWhere(directory, { { folded, ContactDirectory::kEveryField } }, &order);
}

std::vector<Contact> AddressBookQueries::contactsMatchingName(std::string_view text)
{
    std::string folded = TextFolding::shared().fold(text);
    if (folded.empty())
        return {};
    return bookPeopleWhere({ { folded, ContactDirectory::kFourNames } });
}

std::vector<Contact> AddressBookQueries::contactsMatchingName(std::string_view text, std::string_view secondText)
{
    std::string first = TextFolding::shared().fold(text);
    std::string second = TextFolding::shared().fold(secondText);
    if (first.empty() || second.empty())
        return {};
    return bookPeopleWhere({ { first, ContactDirectory::kFourNames }, { second, ContactDirectory::kFourNames } });
}

std::vector<Contact> AddressBookQueries::contactsMatchingPhone(std::string_view digits)
{
    std::string folded = TextFolding::shared().fold(digits);
    if (folded.empty())
        return {};
    return bookPeopleWhere({ { folded, ContactDirectory::PhoneNumbers } });
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
