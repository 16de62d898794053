// Queries over the whole book: the searches the person lists and the keypad use, the
// pseudo-group lists, counts, and the Exchange account.

#include "AddressBookFixture.h"

#include "addressbook/AddressBookQueries.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/NameFormat.h"
#include "platform/contactstore/Person.h"

#include <random>
#include <set>

using namespace contactstore;
using tessaro::AddressBookGroup;
using tessaro::AddressBookQueries;
using tessaro::Contact;
using addressbooktest::AddressBookFixture;

using AddressBookQueriesTest = AddressBookFixture;

TEST_F(AddressBookQueriesTest, AnEmptyBookGivesEmptyListsAndZeroCounts)
{
    EXPECT_TRUE(AddressBookQueries::contacts().empty());
    EXPECT_TRUE(AddressBookQueries::getNoNumberContacts().empty());
    EXPECT_TRUE(AddressBookQueries::getNoEmailContacts().empty());
    EXPECT_TRUE(AddressBookQueries::groups().empty());
    EXPECT_TRUE(AddressBookQueries::contactsMatchingName("a").empty());
    EXPECT_TRUE(AddressBookQueries::contactsMatchingPhone("1").empty());
    EXPECT_EQ(AddressBookQueries::contactsCount(), 0u);
    EXPECT_EQ(AddressBookQueries::numberOfGroups(), 0u);
    EXPECT_EQ(AddressBookQueries::contactsWithImageCount() + AddressBookQueries::contactsWithoutImageCount(), 0u);

    tessaro::SharedAddressBook::set(nullptr);
    EXPECT_TRUE(AddressBookQueries::contacts().empty());
    EXPECT_EQ(AddressBookQueries::contactsCount(), 0u);
    EXPECT_FALSE(AddressBookGroup::group());
}

TEST_F(AddressBookQueriesTest, NameSearchIgnoresCaseAccentsAndKanaForms)
{
    addContact("Hiroshi", "YAMADA");
    addContact("José", "Müller");
    Contact kana = addContact("カオリ", "ｽｽﾞｷ");
    addContact("Łukasz", "Wałęsa");
    auto all = AddressBookQueries::contacts();

    struct Case {
        std::string typed;
        std::vector<std::string> found;
    };
    const std::vector<Case> cases {
        { "yamada", { "Hiroshi" } },
        { "AMA", { "Hiroshi" } },
        { "jose", { "José" } },
        { "MULL", { "José" } },
        { "müll", { "José" } },
        { "すずき", { "カオリ" } },
        { "スズ", { "カオリ" } },
        { "かお", { "カオリ" } },
        { "lukasz", { "Łukasz" } },
        { "walesa", { "Łukasz" } },
        { "s", { "Hiroshi", "José", "Łukasz" } },
        { "すす", {} },       // ズ is voiced: ス does not stand for it
        { "xyz", {} },
        { "", {} },
    };
    for (const auto& test : cases)
        EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName(test.typed, all)), test.found) << "typed " << test.typed;
    EXPECT_EQ(AddressBookQueries::contactsMatchingName("すずき", all).front(), kana);
}

TEST_F(AddressBookQueriesTest, EachSearchLooksAtItsOwnFields)
{
    Contact nick = addContact("Robert", "Brown");
    nick.setNickname(std::string("Zed"));
    Contact middle = addContact("Anne", "Clark");
    middle.setMiddlename(std::string("Zelda"));
    Contact phonetic = addContact("健", "佐藤");
    phonetic.setLastnamephonetic(std::string("Zato"));
    Contact company = addContact("Carl", "Dunn", { "555-0101" });
    company.setOrganization(std::string("Zeta Corp"));
    company.setJobtitle(std::string("Zookeeper"));
    auto all = AddressBookQueries::contacts();

    // The lists' search: names, nickname, phonetic names and numbers, never the company.
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName("z", all)), (std::vector<std::string> { "Robert", "Anne", "健" }));
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName("5550101", all)), (std::vector<std::string> { "Carl" }));
    // The book-wide name search: the four names only.
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName("z")), (std::vector<std::string> { "Robert", "Anne" }));
    EXPECT_TRUE(AddressBookQueries::contactsMatchingName("zeta").empty());
    EXPECT_TRUE(AddressBookQueries::contactsMatchingName("5550101").empty());
    // Both texts must match, each in any name.
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName("anne", "zel")), (std::vector<std::string> { "Anne" }));
    EXPECT_TRUE(AddressBookQueries::contactsMatchingName("anne", "robert").empty());

    // The search of a given list keeps that list's order and members.
    std::vector<Contact> some { company, nick };
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName("r", some)), (std::vector<std::string> { "Carl", "Robert" }));
}

TEST_F(AddressBookQueriesTest, ASearchSeesEditsMadeSinceTheLastSearch)
{
    Contact person = addContact("Mia", "Wong");
    EXPECT_EQ(AddressBookQueries::contactsMatchingName("wong").size(), 1u);
    person.setLastname(std::string("Chen"));
    EXPECT_TRUE(AddressBookQueries::contactsMatchingName("wong").empty());
    EXPECT_EQ(AddressBookQueries::contactsMatchingName("chen").size(), 1u);
    person.setPhoneDictionaries({ Contact::dictionaryWithValue(std::string("(03) 5555-1234"), std::nullopt) });
    EXPECT_EQ(AddressBookQueries::contactsMatchingPhone("55551234").size(), 1u);
}

TEST_F(AddressBookQueriesTest, AReopenedBookIsSearchedFieldByFieldAsBefore)
{
    // A name of 109 letters is stored after its length, byte 109, which reads as "m"; two
    // names side by side must not make a word across them.
    addContact(std::string(109, 'x'), "Ode");
    addContact("Ann", "Elk", { "555 0101" });
    addContact("Emma", "", { "555 0202" });
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases {
        { "m", { "Emma" } },
        { "nnel", {} },
        { "annelk", {} },
        { "elk", { "Ann" } },
        { "xode", {} },
        { "0101", { "Ann" } },
        { "5550", { "Ann", "Emma" } },
    };
    auto expectCases = [&](const std::string& when) {
        auto all = AddressBookQueries::contacts();
        for (const auto& [typed, found] : cases)
            EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName(typed, all)), found) << "typed " << typed << " " << when;
        EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingName("m")), (std::vector<std::string> { "Emma" })) << when;
        EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingPhone("5550202")), (std::vector<std::string> { "Emma" })) << when;
    };
    expectCases("as saved");
    reopen();
    expectCases("as read from the file");

    // A person changed after the reading is searched by its new names.
    auto emma = AddressBookQueries::contactsMatchingName("emma").front();
    emma.setFirstname(std::string("Ida"));
    EXPECT_TRUE(AddressBookQueries::contactsMatchingName("emma").empty());
    EXPECT_EQ(AddressBookQueries::contactsMatchingName("ida").size(), 1u);
}

// A book of a few hundred persons whose names are made of three letters, so that matches
// fall at every place of the searched text, inside and across its blocks, at the ends of
// fields and of the whole text; some numbers hold letters. Every search must find exactly
// the persons a field-by-field look finds, before and after reopening.
TEST_F(AddressBookQueriesTest, EveryPlaceOfALongBookIsSearchedAsFieldByField)
{
    std::mt19937 random(7);
    auto word = [&random](std::size_t longest) {
        std::string text(random() % (longest + 1), ' ');
        for (char& letter : text)
            letter = "abm"[random() % 3];
        return text;
    };
    struct Names {
        std::string first, last, number;
    };
    std::vector<Names> names;
    for (int index = 0; index < 300; ++index) {
        Names person { word(20), word(6), std::to_string(random() % 100000) };
        if (index % 7 == 0)
            person.number += "ab";
        Contact contact = Contact::contact();
        contact.setFirstname(person.first);
        contact.setLastname(person.last);
        if (index % 3 != 0)
            contact.setPhoneDictionaries({ Contact::dictionaryWithValue(person.number, std::string(kPersonPhoneMobileLabel)) });
        else
            person.number.clear();
        ASSERT_TRUE(book->addRecord(contact.record()));
        names.push_back(person);
    }
    ASSERT_TRUE(book->save());

    auto expected = [&names](const std::string& typed, bool numbersToo) {
        std::multiset<std::string> found;
        for (const auto& person : names) {
            auto has = [&typed](const std::string& field) { return field.find(typed) != std::string::npos; };
            if (has(person.first) || has(person.last) || (numbersToo && has(person.number)))
                found.insert(person.first + "/" + person.last);
        }
        return found;
    };
    auto found = [](const std::vector<Contact>& contacts) {
        std::multiset<std::string> names;
        for (const auto& contact : contacts)
            names.insert(contact.firstname().value_or("") + "/" + contact.lastname().value_or(""));
        return names;
    };
    auto expectEverySearch = [&](const std::string& when) {
        for (const std::string typed : { "a", "m", "ab", "ba", "mm", "bab", "mab", "abma", "bbbb", "ammabab", "1", "ab", "7ab", "0a" }) {
            EXPECT_EQ(found(AddressBookQueries::contactsMatchingName(typed, AddressBookQueries::contacts())), expected(typed, true))
                << typed << " " << when;
            EXPECT_EQ(found(AddressBookQueries::contactsMatchingName(typed)), expected(typed, false)) << typed << " " << when;
        }
    };
    expectEverySearch("as saved");
    reopen();
    expectEverySearch("as read from the file");
}

TEST_F(AddressBookQueriesTest, TypedDigitsFindNumbersWrittenWithSeparators)
{
    addContact("Hyphen", "", { "090-1234-5678" });
    addContact("Spaces", "", { "+81 3 1234 9999", "(045) 111-2222" });
    addContact("Silent");
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingPhone("09012345678")), (std::vector<std::string> { "Hyphen" }));
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingPhone("1234")), (std::vector<std::string> { "Hyphen", "Spaces" }));
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingPhone("0451112222")), (std::vector<std::string> { "Spaces" }));
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingPhone("+813")), (std::vector<std::string> { "Spaces" }));
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingPhone("０９０")), (std::vector<std::string> { "Hyphen" })) << "full-width digits";
    // The blank between two numbers is part of what is searched.
    EXPECT_EQ(firstNames(AddressBookQueries::contactsMatchingPhone("9999 045")), (std::vector<std::string> { "Spaces" }));
    EXPECT_TRUE(AddressBookQueries::contactsMatchingPhone("").empty());
}

TEST_F(AddressBookQueriesTest, PersonsWithoutNumbersOrMailKeepTheBooksOrder)
{
    addContact("Both", "", { "1" }, { "both@example.com" });
    addContact("MailOnly", "", {}, { "mail@example.com" });
    addContact("Nothing");
    addContact("PhoneOnly", "", { "2" });
    EXPECT_EQ(firstNames(AddressBookQueries::getNoNumberContacts()), (std::vector<std::string> { "MailOnly", "Nothing" }));
    EXPECT_EQ(firstNames(AddressBookQueries::getNoEmailContacts()), (std::vector<std::string> { "Nothing", "PhoneOnly" }));
    EXPECT_EQ(AddressBookQueries::contactsCount(), 4u);
}

TEST_F(AddressBookQueriesTest, PictureCountsAddUpToAllPersons)
{
    Contact pictured = addContact("Pictured");
    addContact("Plain");
    pictured.setImage(std::string("PNG"));
    EXPECT_EQ(AddressBookQueries::contactsWithImageCount(), 1u);
    EXPECT_EQ(AddressBookQueries::contactsWithoutImageCount(), 1u);
}

TEST_F(AddressBookQueriesTest, ExchangeMembershipLooksOnlyAtTheFirstExchangeAccount)
{
    Contact local = addContact("Local");
    EXPECT_FALSE(AddressBookQueries::isExchangePeople(local)) << "no Exchange account at all";

    auto firstExchange = addSource(kSourceTypeExchange);
    auto secondExchange = addSource(kSourceTypeExchange);
    auto inFirst = *Contact::contactWithRecord(Person::createInSource(firstExchange));
    auto inSecond = *Contact::contactWithRecord(Person::createInSource(secondExchange));
    ASSERT_TRUE(AddressBookQueries::addContact(inFirst));
    ASSERT_TRUE(AddressBookQueries::addContact(inSecond));

    EXPECT_TRUE(AddressBookQueries::isExchangePeople(inFirst));
    EXPECT_FALSE(AddressBookQueries::isExchangePeople(inSecond));
    EXPECT_FALSE(AddressBookQueries::isExchangePeople(local));
    EXPECT_FALSE(AddressBookQueries::isExchangePeople(Contact::contact()));
    reopen();
    EXPECT_TRUE(AddressBookQueries::isExchangePeople(inFirst)) << "matched by identifier in a later handle";
}

TEST_F(AddressBookQueriesTest, AddingSavesAtOnceOrReportsWhyNot)
{
    Contact fresh = Contact::contact();
    fresh.setFirstname(std::string("Fresh"));
    Error error;
    ASSERT_TRUE(AddressBookQueries::addContact(fresh, &error)) << error.description;
    EXPECT_NE(fresh.recordID(), kRecordInvalidID);
    reopen();
    EXPECT_EQ(firstNames(AddressBookQueries::contacts()), (std::vector<std::string> { "Fresh" }));

    // A person pending in an earlier handle cannot be added through the current one.
    auto earlier = book;
    Contact stray = Contact::contact();
    ASSERT_TRUE(earlier->addRecord(stray.record()));
    reopen();
    EXPECT_FALSE(AddressBookQueries::addContact(stray, &error));
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);
}

TEST_F(AddressBookQueriesTest, NameOrderFollowsTheLanguage)
{
    EXPECT_TRUE(AddressBookQueries::firstNameSorting());
    NameFormat::setLanguage("ja");
    EXPECT_FALSE(AddressBookQueries::firstNameSorting());
    NameFormat::setLanguage("en");
}
