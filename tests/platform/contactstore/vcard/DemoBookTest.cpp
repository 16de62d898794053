// The sample book of --demo: the mix the application's screens need to show something
// real, the same book every time, and never a second book poured over someone's own.

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/demo/DemoBook.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace contactstore;
using contactstore::demo::DemoBook;

namespace {

AddressBookRef open(const std::filesystem::path& folder)
{
    Error error;
    AddressBookRef book = AddressBook::createAt(folder, &error);
    EXPECT_TRUE(book) << error.description;
    return book;
}

bool hasNonAsciiLatin(const std::string& text)
{
    // Two-byte UTF-8 sequences cover the accented Latin letters (U+0080 to U+07FF).
    return std::any_of(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xE0) == 0xC0; });
}

} // namespace

TEST(DemoBook, FillsAFreshBookWithTheMixTheScreensNeed)
{
    testsupport::TempDir folder;
    const DemoBook::Result result = DemoBook::fillIfEmpty(open(folder.path()));
    ASSERT_TRUE(result.filled) << result.message;

    const AddressBookRef book = open(folder.path());
    const std::vector<PersonRef> persons = book->copyArrayOfAllPeople();
    EXPECT_EQ(persons.size(), result.persons);
    EXPECT_GE(persons.size(), 200u);
    EXPECT_LE(persons.size(), 500u);

    SourceRef exchange;
    for (const SourceRef& source : book->copyArrayOfAllSources()) {
        if (source->sourceType() == kSourceTypeExchange)
            exchange = source;
    }
    ASSERT_TRUE(exchange);
    const std::size_t colleagues = book->copyArrayOfAllPeopleInSource(exchange).size();
    EXPECT_GE(colleagues, 10u);

    std::size_t withoutPhone = 0, withoutMail = 0, withPhoto = 0, withReading = 0, accented = 0, companies = 0;
    for (const PersonRef& person : persons) {
        const MultiValue* phones = person->multiValue(kPersonPhoneProperty);
        const MultiValue* mails = person->multiValue(kPersonEmailProperty);
        withoutPhone += !phones || phones->isEmpty();
        withoutMail += !mails || mails->isEmpty();
        if (person->hasImageData()) {
            ++withPhoto;
            EXPECT_EQ(person->copyImageData()->substr(0, 4), "\x89PNG");
        }
        withReading += person->copyString(kPersonLastNamePhoneticProperty).has_value();
        accented += hasNonAsciiLatin(person->copyString(kPersonLastNameProperty).value_or("")
            + person->copyString(kPersonFirstNameProperty).value_or(""));
        companies += person->copyInteger(kPersonKindProperty) == kPersonKindOrganization;
    }
    EXPECT_GE(withoutPhone, 5u);
    EXPECT_GE(withoutMail, 10u);
    EXPECT_GE(withPhoto, 10u);
    EXPECT_GE(withReading, 40u);
    EXPECT_GE(accented, 30u);
    EXPECT_GE(companies, 5u);

    // Groups of the local account: several with members, one still empty, and no colleague
    // of the Exchange account in any of them.
    const std::vector<GroupRef> groups = book->copyArrayOfAllGroups();
    EXPECT_EQ(groups.size(), result.groups);
    EXPECT_GE(groups.size(), 5u);
    std::size_t empty = 0;
    for (const GroupRef& group : groups) {
        empty += group->memberCount() == 0;
        for (const PersonRef& member : group->copyArrayOfAllMembers())
            EXPECT_NE(member->copySource()->sourceType(), kSourceTypeExchange);
    }
    EXPECT_EQ(empty, 1u);
    EXPECT_GE(groups.size() - empty, 5u);
}

TEST(DemoBook, IsTheSameBookEveryTime)
{
    const std::vector<DemoBook::Entry> first = DemoBook::entries();
    const std::vector<DemoBook::Entry> second = DemoBook::entries();
    ASSERT_EQ(first.size(), second.size());
    std::set<std::string> distinctNames;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_TRUE(first[i].card.sameContent(second[i].card)) << i;
        EXPECT_EQ(first[i].exchange, second[i].exchange);
        EXPECT_EQ(first[i].groups, second[i].groups);
        distinctNames.insert(first[i].card.lastName + "/" + first[i].card.firstName + "/" + first[i].card.organization);
    }
    // Varied enough to need sections and search, not a handful of names repeated.
    EXPECT_GE(distinctNames.size(), first.size() / 2);
}

TEST(DemoBook, LeavesABookThatHoldsAnythingAlone)
{
    testsupport::TempDir withPerson;
    {
        const AddressBookRef book = open(withPerson.path());
        const PersonRef own = Person::create();
        ASSERT_TRUE(own->setValue(kPersonFirstNameProperty, std::string("Mine")));
        ASSERT_TRUE(book->addRecord(own) && book->save());
    }
    const DemoBook::Result kept = DemoBook::fillIfEmpty(open(withPerson.path()));
    EXPECT_FALSE(kept.filled);
    EXPECT_NE(kept.message.find("1 persons"), std::string::npos) << kept.message;
    EXPECT_EQ(open(withPerson.path())->personCount(), 1u);

    testsupport::TempDir withGroup;
    {
        const AddressBookRef book = open(withGroup.path());
        const GroupRef own = Group::create();
        ASSERT_TRUE(own->setValue(kGroupNameProperty, std::string("Mine")));
        ASSERT_TRUE(book->addRecord(own) && book->save());
    }
    EXPECT_FALSE(DemoBook::fillIfEmpty(open(withGroup.path())).filled);
    EXPECT_EQ(open(withGroup.path())->personCount(), 0u);

    testsupport::TempDir refused;
    AccessControl::setAccessRefused(true);
    Error error;
    const DemoBook::Result denied = DemoBook::fillIfEmpty(AddressBook::createAt(refused.path(), &error));
    AccessControl::setAccessRefused(false);
    EXPECT_FALSE(denied.filled);
    EXPECT_EQ(open(refused.path())->personCount(), 0u);
}
