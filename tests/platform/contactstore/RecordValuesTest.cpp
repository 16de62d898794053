// Property values: the types a property accepts, multi-value entries and their
// identifiers, and the compact form they are stored in.

#include "ContactStoreTestSupport.h"

#include "platform/contactstore/Group.h"
#include "platform/contactstore/NameFormat.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/StoredValueCodec.h"

#include <gtest/gtest.h>

using namespace contactstore;

TEST(RecordValuesTest, WritesOfTheWrongTypeOrToUnknownPropertiesAreRefused)
{
    auto person = Person::create();
    ASSERT_TRUE(person->setValue(kPersonFirstNameProperty, std::string("Ida")));

    struct Case {
        PropertyID property;
        Value value;
        ErrorCode expected;
    };
    const std::vector<Case> cases {
        { kPersonFirstNameProperty, std::int64_t { 3 }, ErrorCode::WrongValueType },
        { kPersonBirthdayProperty, std::string("1990-01-01"), ErrorCode::WrongValueType },
        { kPersonPhoneProperty, std::string("555"), ErrorCode::WrongValueType },
        { kPersonPhoneProperty, MultiValue(PropertyType::MultiDate), ErrorCode::WrongValueType },
        { kPersonAddressProperty, MultiValue(PropertyType::MultiString), ErrorCode::WrongValueType },
        { kGroupNameProperty, std::string("Not a person property"), ErrorCode::UnknownProperty },
        { 9999, std::string("x"), ErrorCode::UnknownProperty },
        { kPersonModificationDateProperty, Date {}, ErrorCode::ReadOnlyProperty },
    };
    for (const auto& test : cases) {
        Error error;
        EXPECT_FALSE(person->setValue(test.property, test.value, &error)) << "property " << test.property;
        EXPECT_EQ(error.code, test.expected) << "property " << test.property;
        EXPECT_FALSE(error.description.empty());
    }
    EXPECT_EQ(person->copyString(kPersonFirstNameProperty), "Ida") << "a refused write keeps the old value";

    auto group = Group::create();
    Error error;
    EXPECT_FALSE(group->setValue(kPersonFirstNameProperty, std::string("x"), &error));
    EXPECT_EQ(error.code, ErrorCode::UnknownProperty);
}

TEST(RecordValuesTest, AbsentIsNotEmpty)
{
    auto person = Person::create();
    EXPECT_FALSE(person->copyValue(kPersonNicknameProperty));
    ASSERT_TRUE(person->setValue(kPersonNicknameProperty, std::string()));
    EXPECT_EQ(person->copyString(kPersonNicknameProperty), "");
    ASSERT_TRUE(person->removeValue(kPersonNicknameProperty));
    EXPECT_FALSE(person->copyValue(kPersonNicknameProperty));
    EXPECT_TRUE(person->removeValue(kPersonNicknameProperty)) << "removing an absent value succeeds";

    // A list without entries is no list: "no phone" has one form.
    ASSERT_TRUE(person->setValue(kPersonPhoneProperty, MultiValue(PropertyType::MultiString)));
    EXPECT_FALSE(person->copyValue(kPersonPhoneProperty));
}

TEST(RecordValuesTest, EntryIdentifiersFollowTheirEntries)
{
    MultiValue phones(PropertyType::MultiString);
    MultiValueIdentifier home = kMultiValueInvalidIdentifier;
    MultiValueIdentifier work = kMultiValueInvalidIdentifier;
    ASSERT_TRUE(phones.addValueAndLabel(std::string("111"), std::string(kHomeLabel), &home));
    ASSERT_TRUE(phones.addValueAndLabel(std::string("222"), std::string(kWorkLabel), &work));
    EXPECT_NE(home, work);
    ASSERT_TRUE(phones.removeValueAndLabelAtIndex(0));
    EXPECT_EQ(phones.indexForIdentifier(work), 0u);
    EXPECT_FALSE(phones.indexForIdentifier(home));

    MultiValueIdentifier again = kMultiValueInvalidIdentifier;
    ASSERT_TRUE(phones.insertValueAndLabelAtIndex(std::string("333"), std::nullopt, 0, &again));
    EXPECT_NE(again, home) << "an identifier is not handed out twice";
    EXPECT_EQ(phones.copyArrayOfAllStrings(), (std::vector<std::string> { "333", "222" }));
    EXPECT_FALSE(phones.copyLabelAtIndex(0));

    EXPECT_FALSE(phones.addValueAndLabel(std::int64_t { 4 }, std::nullopt));
    EXPECT_FALSE(phones.replaceValueAtIndex(std::string("x"), 5));
    EXPECT_FALSE(phones.insertValueAndLabelAtIndex(std::string("x"), std::nullopt, 3));
    EXPECT_FALSE(phones.removeValueAndLabelAtIndex(2));
    EXPECT_EQ(phones.count(), 2u);

    ASSERT_TRUE(phones.replaceLabelAtIndex(std::string(), 1));
    EXPECT_FALSE(phones.copyLabelAtIndex(1)) << "an empty label is no label";
}

TEST(RecordValuesTest, StoredFormRoundTripsEveryElementType)
{
    std::vector<std::pair<PropertyID, Value>> values;
    MultiValue texts(PropertyType::MultiString);
    ASSERT_TRUE(texts.addValueAndLabel(std::string("héllo\0world", 11), std::string(kHomeLabel)));
    ASSERT_TRUE(texts.addValueAndLabel(std::string(), std::nullopt));
    MultiValue numbers(PropertyType::MultiInteger);
    ASSERT_TRUE(numbers.addValueAndLabel(std::int64_t { INT64_MIN }, std::nullopt));
    ASSERT_TRUE(numbers.addValueAndLabel(std::int64_t { INT64_MAX }, std::string("max")));
    MultiValue reals(PropertyType::MultiReal);
    ASSERT_TRUE(reals.addValueAndLabel(-0.125, std::nullopt));
    MultiValue dates(PropertyType::MultiDate);
    ASSERT_TRUE(dates.addValueAndLabel(Date(std::chrono::milliseconds(-62'135'596'800'000)), std::nullopt)); // year 1
    MultiValue dictionaries(PropertyType::MultiDictionary);
    ASSERT_TRUE(dictionaries.addValueAndLabel(Dictionary { { "a", "1" }, { "", "" } }, std::string(kWorkLabel)));
    ASSERT_TRUE(dictionaries.removeValueAndLabelAtIndex(0));
    ASSERT_TRUE(dictionaries.addValueAndLabel(Dictionary {}, std::nullopt));
    values.emplace_back(kPersonEmailProperty, texts);
    values.emplace_back(500, numbers);
    values.emplace_back(501, reals);
    values.emplace_back(kPersonDateProperty, dates);
    values.emplace_back(kPersonAddressProperty, dictionaries);
    values.emplace_back(kPersonFirstNameProperty, std::string("single values are not part of it"));

    std::string blob = StoredValueCodec::encode(values);
    std::vector<std::pair<PropertyID, Value>> decoded;
    ASSERT_TRUE(StoredValueCodec::decode(blob, decoded));
    values.pop_back();
    EXPECT_EQ(decoded, values);

    // The identifier counter travels too: a reread list never reuses an old identifier.
    auto& rereadDictionaries = std::get<MultiValue>(decoded.back().second);
    MultiValueIdentifier next = kMultiValueInvalidIdentifier;
    ASSERT_TRUE(rereadDictionaries.addValueAndLabel(Dictionary {}, std::nullopt, &next));
    EXPECT_EQ(next, 2);
}

TEST(RecordValuesTest, DamagedStoredFormsAreRefusedWholeWithoutReadingPastTheirEnd)
{
    std::vector<std::pair<PropertyID, Value>> values;
    MultiValue addresses(PropertyType::MultiDictionary);
    ASSERT_TRUE(addresses.addValueAndLabel(Dictionary { { kPersonAddressCityKey, "Kyoto" } }, std::string(kHomeLabel)));
    MultiValue phones(PropertyType::MultiString);
    ASSERT_TRUE(phones.addValueAndLabel(std::string("075-123-4567"), std::string(kPersonPhoneMobileLabel)));
    values.emplace_back(kPersonAddressProperty, addresses);
    values.emplace_back(kPersonPhoneProperty, phones);
    const std::string blob = StoredValueCodec::encode(values);

    for (std::size_t length = 1; length < blob.size(); ++length) {
        std::vector<std::pair<PropertyID, Value>> decoded;
        EXPECT_FALSE(StoredValueCodec::decode(std::string_view(blob).substr(0, length), decoded)) << "cut at " << length;
        EXPECT_TRUE(decoded.empty());
    }
    for (std::size_t position = 0; position < blob.size(); ++position) {
        for (unsigned char flip : { 0x01, 0x80, 0xFF }) {
            std::string damaged = blob;
            damaged[position] = static_cast<char>(damaged[position] ^ flip);
            std::vector<std::pair<PropertyID, Value>> decoded;
            (void)StoredValueCodec::decode(damaged, decoded); // must simply not crash or overrun
        }
    }
    std::vector<std::pair<PropertyID, Value>> decoded;
    EXPECT_FALSE(StoredValueCodec::decode(blob + "x", decoded)) << "trailing bytes";
    EXPECT_FALSE(StoredValueCodec::decode(std::string("\x02", 1), decoded)) << "unknown format";
    EXPECT_FALSE(StoredValueCodec::decode(std::string("\x01\xff\xff\xff\xff\x0f", 6), decoded)) << "absurd count";
    EXPECT_TRUE(StoredValueCodec::decode("", decoded));
}

TEST(RecordValuesTest, CompositeNamesFollowTheLanguage)
{
    auto person = contactstoretest::makePerson("Taro", "Yamada");
    ASSERT_TRUE(person->setValue(kPersonMiddleNameProperty, std::string("Q")));
    ASSERT_TRUE(person->setValue(kPersonPrefixProperty, std::string("Dr")));
    EXPECT_EQ(person->copyCompositeName(), "Dr Taro Q Yamada");

    NameFormat::setLanguage("ja-JP");
    EXPECT_EQ(AddressBook::compositeNameFormat(), CompositeNameFormat::LastNameFirst);
    EXPECT_EQ(person->copyCompositeName(), "Dr Yamada Q Taro");
    NameFormat::setLanguage("en");
    EXPECT_EQ(AddressBook::compositeNameFormat(), CompositeNameFormat::FirstNameFirst);

    auto company = Person::create();
    EXPECT_FALSE(company->copyCompositeName());
    ASSERT_TRUE(company->setValue(kPersonNicknameProperty, std::string("Shop")));
    EXPECT_EQ(company->copyCompositeName(), "Shop");
    ASSERT_TRUE(company->setValue(kPersonOrganizationProperty, std::string("Acme")));
    EXPECT_EQ(company->copyCompositeName(), "Acme");

    EXPECT_EQ(Source::create(kSourceTypeCardDAV, "iCloud")->copyCompositeName(), "iCloud");
}

TEST(RecordValuesTest, AFormattedNameIsShownWhereTheNamesDoNotMakeItAndGoesWhenANameChanges)
{
    struct Case {
        const char* first;
        const char* last;
        const char* suffix;
        const char* formatted;
        const char* shown;
    };
    const Case cases[] = {
        { "Janet", nullptr, nullptr, "Janet Jackson", "Janet Jackson" },
        { "Yossi", "Cohen", nullptr, "\xD7\x99\xD7\x95\xD7\xA1\xD7\x99 \xD7\x9B\xD7\x94\xD7\x9F",
            "\xD7\x99\xD7\x95\xD7\xA1\xD7\x99 \xD7\x9B\xD7\x94\xD7\x9F" },
        { "Bruce", "Banner", nullptr, "Bruce Banner, PhD", "Bruce Banner, PhD" },
        // The names in either order, with or without the comma before a suffix, are the
        // names: the language's order shows them.
        { "Sammy", "Davis", "Jr.", "Davis Sammy, Jr.", "Sammy Davis Jr." },
        { "Yui", "Tanaka", nullptr, "Tanaka  Yui", "Yui Tanaka" },
    };
    NameFormat::setLanguage("en");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formatted);
        auto person = contactstoretest::makePerson(c.first, c.last ? c.last : "");
        if (c.suffix)
            ASSERT_TRUE(person->setValue(kPersonSuffixProperty, std::string(c.suffix)));
        ASSERT_TRUE(person->setValue(kPersonFormattedNameProperty, std::string(c.formatted)));
        EXPECT_EQ(person->copyCompositeName(), c.shown);

        // Other values leave it; a new name makes it wrong, so it goes.
        ASSERT_TRUE(person->setValue(kPersonNoteProperty, std::string("note")));
        EXPECT_TRUE(person->copyString(kPersonFormattedNameProperty));
        ASSERT_TRUE(person->setValue(kPersonFirstNameProperty, std::string(c.first)));
        EXPECT_TRUE(person->copyString(kPersonFormattedNameProperty)) << "the same name is no change";
        ASSERT_TRUE(person->setValue(kPersonFirstNameProperty, std::string("Jo")));
        EXPECT_FALSE(person->copyString(kPersonFormattedNameProperty));
    }
    NameFormat::setLanguage("");
}
