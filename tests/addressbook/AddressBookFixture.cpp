#include "AddressBookFixture.h"

#include "platform/contactstore/Person.h"

namespace addressbooktest {

using namespace contactstore;
using tessaro::Contact;
using tessaro::EntryDictionary;

void AddressBookFixture::SetUp()
{
    reopen();
}

void AddressBookFixture::TearDown()
{
    tessaro::SharedAddressBook::set(nullptr);
    book.reset();
}

void AddressBookFixture::reopen()
{
    Error error;
    book = AddressBook::createAt(folder.path(), &error);
    ASSERT_TRUE(book) << error.description;
    tessaro::SharedAddressBook::set(book);
}

Contact AddressBookFixture::addContact(const std::string& first, const std::string& last, std::initializer_list<std::string> phones,
                                       std::initializer_list<std::string> mails)
{
    Contact contact = Contact::contact();
    if (!first.empty())
        contact.setFirstname(first);
    if (!last.empty())
        contact.setLastname(last);
    std::vector<EntryDictionary> numbers;
    for (const auto& phone : phones)
        numbers.push_back(Contact::dictionaryWithValue(phone, std::string(kPersonPhoneMobileLabel)));
    contact.setPhoneDictionaries(numbers);
    std::vector<EntryDictionary> addresses;
    for (const auto& mail : mails)
        addresses.push_back(Contact::dictionaryWithValue(mail, std::string(kHomeLabel)));
    contact.setEmailDictionaries(addresses);
    Error error;
    EXPECT_TRUE(book->addRecord(contact.record(), &error) && book->save(&error)) << error.description;
    return contact;
}

SourceRef AddressBookFixture::addSource(SourceType type)
{
    auto source = Source::create(type);
    EXPECT_TRUE(book->addRecord(source) && book->save());
    return source;
}

std::vector<std::string> AddressBookFixture::firstNames(const std::vector<Contact>& contacts)
{
    std::vector<std::string> names;
    for (const auto& contact : contacts)
        names.push_back(contact.firstname().value_or("-"));
    return names;
}

} // namespace addressbooktest
