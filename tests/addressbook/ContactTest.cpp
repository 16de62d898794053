// The person wrapper: the names lists show and sort by, numbers for searching, entry
// lists, pictures, writes the store refuses, and removal.

#include "AddressBookFixture.h"

#include "addressbook/AddressBookQueries.h"
#include "addressbook/PhoneNumber.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/Log.h"

using namespace contactstore;
using tessaro::Contact;
using tessaro::EntryDictionary;
using addressbooktest::AddressBookFixture;

namespace {

Contact contactWith(const std::vector<std::pair<PropertyID, std::string>>& names)
{
    Contact contact = Contact::contact();
    for (const auto& [property, text] : names)
        EXPECT_TRUE(contact.setString(text, property));
    return contact;
}

} // namespace

TEST(ContactNameTest, ListNamesPutTheFamilyNameFirstWithNicknameAndSuffix)
{
    struct Case {
        std::vector<std::pair<PropertyID, std::string>> names;
        std::string contactName;
    };
    const std::vector<Case> cases {
        { { { kPersonPrefixProperty, "Dr" }, { kPersonLastNameProperty, "Sato" }, { kPersonNicknameProperty, "Ken" },
            { kPersonFirstNameProperty, "Kenji" }, { kPersonSuffixProperty, "Jr" } },
          "Dr Sato \"Ken\" Kenji, Jr" },
        { { { kPersonFirstNameProperty, "Kenji" } }, "Kenji" },
        { { { kPersonLastNameProperty, "Sato" } }, "Sato" },
        { { { kPersonSuffixProperty, "Jr" } }, "" },
        { { { kPersonOrganizationProperty, "Acme" } }, "" },
        { { { kPersonNicknameProperty, "Ken" } }, "" },
        { { { kPersonLastNameProperty, "Sato" }, { kPersonMiddleNameProperty, "Q" }, { kPersonFirstNameProperty, "Kenji" } },
          "Sato Kenji" },
        { { { kPersonFirstNameProperty, "  Kenji\r\n" } }, "Kenji" },
        { { { kPersonFirstNameProperty, "Kenji" }, { kPersonSuffixProperty, "III" } }, "Kenji, III" },
        { { { kPersonLastNameProperty, "\xE3\x80\x80Sato\xC2\xA0" } }, "Sato" }, // ideographic and no-break spaces
        // A suffix never stands first.
        { { { kPersonFirstNameProperty, "" }, { kPersonSuffixProperty, "Jr" } }, "" },
    };
    for (const auto& test : cases)
        EXPECT_EQ(contactWith(test.names).contactName(), test.contactName);
}

TEST(ContactNameTest, PhoneticFamilyNameAloneDecidesTheSortName)
{
    Contact first = contactWith({ { kPersonLastNameProperty, "佐藤" }, { kPersonFirstNameProperty, "健" },
                                  { kPersonLastNamePhoneticProperty, " さとう " } });
    Contact second = contactWith({ { kPersonLastNameProperty, "佐藤" }, { kPersonFirstNameProperty, "花子" },
                                   { kPersonLastNamePhoneticProperty, "さとう" } });
    EXPECT_EQ(first.sortName(), "さとう");
    EXPECT_EQ(first.sortName(), second.sortName()) << "different first names, same phonetic family name";
    EXPECT_EQ(contactWith({ { kPersonLastNameProperty, "Sato" }, { kPersonFirstNameProperty, "Ken" } }).sortName(), "Sato Ken");
}

TEST(ContactNameTest, SortKeysAreMadeOnceUntilTheNameOrTheCollationChanges)
{
    Contact contact = contactWith({ { kPersonLastNameProperty, "Sato" }, { kPersonFirstNameProperty, "Ken" } });
    int made = 0;
    auto makeKey = [&made](std::string_view name) { ++made; return "key:" + std::string(name); };
    EXPECT_EQ(contact.sortKey("en", makeKey), "key:Sato Ken");
    EXPECT_EQ(contact.sortKey("en", makeKey), "key:Sato Ken");
    EXPECT_EQ(made, 1);
    // A search in between keeps the key.
    (void)tessaro::AddressBookQueries::contactsMatchingName("sato", { contact });
    EXPECT_EQ(contact.sortKey("en", makeKey), "key:Sato Ken");
    EXPECT_EQ(made, 1);

    contact.setLastnamephonetic(std::string("さとう"));
    EXPECT_EQ(contact.sortKey("en", makeKey), "key:さとう");
    EXPECT_EQ(contact.sortKey("ja", makeKey), "key:さとう");
    EXPECT_EQ(made, 3);
    EXPECT_EQ(tessaro::AddressBookQueries::contactsMatchingName("さと", { contact }).size(), 1u);
}

TEST(ContactNameTest, SearchNumbersAreTheCleanedNumbersInOrder)
{
    Contact none = Contact::contact();
    EXPECT_EQ(none.phonenumbersforsearch(), "");
    EXPECT_EQ(none.phonenumbers(), "");

    Contact two = Contact::contact();
    two.setPhoneDictionaries({ Contact::dictionaryWithValue(std::string("+1 (555) 123-4567"), std::nullopt),
                               Contact::dictionaryWithValue(std::string("03-1234-5678"), std::string(kWorkLabel)) });
    EXPECT_EQ(two.phonenumbersforsearch(), "+15551234567 0312345678");
    EXPECT_EQ(two.phonenumbers(), "+1 (555) 123-4567 03-1234-5678");

    EXPECT_EQ(tessaro::PhoneNumber::clean("+1 (555) 123-4567"), "+15551234567");
    EXPECT_EQ(tessaro::PhoneNumber::clean("*123#"), "*123#");
    EXPECT_EQ(tessaro::PhoneNumber::clean("p.o. 12/3"), "p.o.12/3");
}

TEST(ContactEntriesTest, EntryListsGiveDisplayLabelsAndStoreLabelsAsGiven)
{
    Contact contact = Contact::contact();
    contact.setEmailDictionaries({ Contact::dictionaryWithValue(std::string("a@example.com"), std::string(kWorkLabel)),
                                   Contact::dictionaryWithValue(std::string("b@example.com"), std::nullopt),
                                   Contact::dictionaryWithValue(std::string("c@example.com"), std::string("Club")) });
    EXPECT_EQ(contact.emailArray(), (std::vector<std::string> { "a@example.com", "b@example.com", "c@example.com" }));
    EXPECT_EQ(contact.emailLabels(), (std::vector<std::string> { "work", "", "Club" }));
    EXPECT_EQ(contact.emailaddresses(), "a@example.com b@example.com c@example.com");
    auto dictionaries = contact.emailDictionaries();
    ASSERT_EQ(dictionaries.size(), 3u);
    EXPECT_EQ(dictionaries[0], (EntryDictionary { std::string("a@example.com"), std::string("work") }));

    // Written back, the display label becomes the stored text.
    contact.setEmailDictionaries(dictionaries);
    EXPECT_EQ(contact.record()->multiValue(kPersonEmailProperty)->copyLabelAtIndex(0), "work");
    EXPECT_EQ(contact.emailLabels()[0], "work");

    // An entry without a value, or with a value of another kind, spoils nothing.
    contact.setEmailDictionaries({ Contact::dictionaryWithValue(std::string("d@example.com"), std::nullopt),
                                   Contact::dictionaryWithValue(std::nullopt, std::string(kHomeLabel)) });
    EXPECT_EQ(contact.emailArray().size(), 3u);
    EXPECT_FALSE(Contact::createMultiValueFromArray({ Contact::dictionaryWithValue(std::int64_t { 5 }, std::nullopt) },
                                                    PropertyType::MultiString));
    contact.setEmailDictionaries({});
    EXPECT_TRUE(contact.emailArray().empty());
    EXPECT_FALSE(contact.record()->copyValue(kPersonEmailProperty));
}

TEST(ContactEntriesTest, AddressesAndAccountsLeaveOutMissingParts)
{
    auto address = Contact::addressWithStreet(std::string("1 Main St"), std::nullopt, std::string("CA"), std::nullopt,
                                              std::string("USA"), std::string("us"));
    EXPECT_EQ(address, (Contact::Dictionary { { kPersonAddressStreetKey, "1 Main St" }, { kPersonAddressStateKey, "CA" },
                                              { kPersonAddressCountryKey, "USA" }, { kPersonAddressCountryCodeKey, "us" } }));
    EXPECT_EQ(Contact::smsWithService(std::nullopt, std::string("ken")),
              (Contact::Dictionary { { kPersonInstantMessageUsernameKey, "ken" } }));
    EXPECT_EQ(Contact::dictionaryWithValue(std::nullopt, std::nullopt), EntryDictionary {});

    Contact contact = Contact::contact();
    contact.setAddressDictionaries({ Contact::dictionaryWithValue(address, std::string(kHomeLabel)) });
    contact.setSmsDictionaries({ Contact::dictionaryWithValue(Contact::smsWithService(std::string(kPersonInstantMessageServiceSkype), std::string("ken")),
                                                              std::nullopt) });
    Date day(std::chrono::milliseconds(86'400'000));
    contact.setDateDictionaries({ Contact::dictionaryWithValue(day, std::string(kPersonAnniversaryLabel)) });
    EXPECT_EQ(contact.addressArray(), std::vector<Contact::Dictionary> { address });
    EXPECT_EQ(contact.smsArray().front().at(kPersonInstantMessageServiceKey), "Skype");
    EXPECT_EQ(contact.dateArray(), std::vector<Date> { day });
    EXPECT_EQ(contact.dateLabels(), std::vector<std::string> { "anniversary" });
    EXPECT_EQ(contact.addressLabels(), std::vector<std::string> { "home" });
}

TEST(ContactEntriesTest, RefusedWritesAreLoggedAndKeepTheOldValue)
{
    foundation::LogCapture log;
    Contact contact = Contact::contact();
    contact.setFirstname(std::string("Kim"));
    EXPECT_FALSE(contact.setString(std::string("yesterday"), kPersonBirthdayProperty));
    EXPECT_FALSE(contact.setDate(Date {}, kPersonCreationDateProperty));
    EXPECT_FALSE(contact.setString(std::string("x"), 4242));
    EXPECT_EQ(log.takeLines().size(), 3u);
    EXPECT_FALSE(contact.birthday());
    EXPECT_FALSE(contact.creationDate());

    contact.setFirstname(std::nullopt);
    EXPECT_FALSE(contact.firstname()) << "nothing removes the value";
    EXPECT_TRUE(log.lines().empty());
}

TEST(ContactEntriesTest, PicturesAreThumbnailsAndRemovingNoPictureChangesNothing)
{
    foundation::LogCapture log;
    Contact contact = Contact::contact();
    contact.setImage(std::nullopt);
    EXPECT_FALSE(contact.image());
    EXPECT_FALSE(contact.record()->hasUnsavedChanges());
    EXPECT_TRUE(log.lines().empty());

    contact.setImage(std::string("\x89PNG data"));
    EXPECT_EQ(contact.image(), std::string("\x89PNG data"));
    contact.setImage(std::nullopt);
    EXPECT_FALSE(contact.image());
    contact.setImage(std::string());
    EXPECT_TRUE(log.containsPrefix("Error: "));
}

TEST(ContactEntriesTest, PropertyTablesDescribeEveryPersonProperty)
{
    EXPECT_EQ(Contact::propertyTypeString(Contact::propertyType(kPersonFirstNameProperty)), "String");
    EXPECT_EQ(Contact::propertyTypeString(Contact::propertyType(kPersonBirthdayProperty)), "Date");
    EXPECT_EQ(Contact::propertyTypeString(Contact::propertyType(kPersonKindProperty)), "Integer");
    EXPECT_EQ(Contact::propertyTypeString(Contact::propertyType(kPersonPhoneProperty)), "Multi String");
    EXPECT_EQ(Contact::propertyTypeString(Contact::propertyType(kPersonDateProperty)), "Multi Date");
    EXPECT_EQ(Contact::propertyTypeString(Contact::propertyType(kPersonAddressProperty)), "Multi Dictionary");
    EXPECT_EQ(Contact::propertyTypeString(Contact::propertyType(777)), "Invalid Property");
    EXPECT_EQ(Contact::propertyTypeString(PropertyType::MultiReal), "Multi Float");

    int singles = 0;
    for (PropertyID property = 0; property <= kPersonInstantMessageProperty; ++property) {
        EXPECT_TRUE(Contact::propertyString(property)) << property;
        EXPECT_FALSE(Contact::localizedPropertyName(property).empty()) << property;
        singles += Contact::propertyIsMultivalue(property) ? 0 : 1;
        // Every single value is a string or a date; the kind and the lists count as multi.
        if (!Contact::propertyIsMultivalue(property)) {
            EXPECT_TRUE(Contact::propertyType(property) == PropertyType::String || Contact::propertyType(property) == PropertyType::Date);
        }
    }
    EXPECT_EQ(singles, 16);
    EXPECT_TRUE(Contact::propertyIsMultivalue(kPersonKindProperty));
    EXPECT_FALSE(Contact::propertyString(kGroupNameProperty));
    EXPECT_FALSE(Contact::objectForProperty(kPersonFirstNameProperty, nullptr));
    EXPECT_TRUE(Contact::arrayForProperty(kPersonPhoneProperty, nullptr).empty());
}

using ContactBookTest = AddressBookFixture;

TEST_F(ContactBookTest, StoredIdentifiersTurnBackIntoPersons)
{
    Contact kim = addContact("Kim");
    auto found = Contact::contactWithRecordID(kim.recordID());
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, kim);
    EXPECT_EQ(found->firstname(), "Kim");
    EXPECT_TRUE(found->isPerson());
    EXPECT_FALSE(Contact::contactWithRecordID(kim.recordID() + 1000));
    EXPECT_FALSE(Contact::contactWithRecordID(book->copyDefaultSource()->recordID())) << "a source is not a person";
    EXPECT_FALSE(Contact::contactWithRecord(nullptr));

    reopen();
    EXPECT_EQ(Contact::contactWithRecordID(kim.recordID())->firstname(), "Kim");
    EXPECT_EQ(*Contact::contactWithRecordID(kim.recordID()), kim) << "same person, other handle";
    EXPECT_FALSE(Contact::contact() == Contact::contact());

    tessaro::SharedAddressBook::set(nullptr);
    EXPECT_FALSE(Contact::contactWithRecordID(kim.recordID()));
}

TEST_F(ContactBookTest, RemovalSavesAtOnceAndFailsForPersonsNotInTheBook)
{
    Contact lee = addContact("Lee");
    Contact kept = addContact("Kept");
    lee.setLastname(std::string("Unsaved"));
    ASSERT_TRUE(lee.removeSelfFromAddressBook());
    reopen();
    EXPECT_FALSE(Contact::contactWithRecordID(lee.recordID()));
    EXPECT_TRUE(Contact::contactWithRecordID(kept.recordID()));
    EXPECT_EQ(lee.firstname(), "Lee") << "the wrapper stays usable";

    Error error;
    EXPECT_FALSE(lee.removeSelfFromAddressBook(&error));
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);
    EXPECT_FALSE(Contact::contact().removeSelfFromAddressBook(&error));
}

TEST_F(ContactBookTest, RemovalFromAnEarlierHandleWorksThroughTheCurrentOne)
{
    Contact old = addContact("Old");
    reopen();
    ASSERT_TRUE(old.removeSelfFromAddressBook());
    reopen();
    EXPECT_EQ(book->personCount(), 0u);
}
