#include "platform/contactstore/vcard/PersonCardMapping.h"

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/vcard/CardWriter.h"

#include <chrono>
#include <utility>

namespace contactstore::vcard {

namespace {

struct TextField {
    PropertyID property;
    std::string Card::*field;
};

constexpr TextField kTextFields[] = {
    { kPersonFirstNameProperty, &Card::firstName },
    { kPersonLastNameProperty, &Card::lastName },
    { kPersonMiddleNameProperty, &Card::middleName },
    { kPersonPrefixProperty, &Card::prefix },
    { kPersonSuffixProperty, &Card::suffix },
    { kPersonNicknameProperty, &Card::nickname },
    { kPersonFirstNamePhoneticProperty, &Card::firstNamePhonetic },
    { kPersonLastNamePhoneticProperty, &Card::lastNamePhonetic },
    { kPersonMiddleNamePhoneticProperty, &Card::middleNamePhonetic },
    { kPersonOrganizationProperty, &Card::organization },
    { kPersonJobTitleProperty, &Card::jobTitle },
    { kPersonDepartmentProperty, &Card::department },
    { kPersonNoteProperty, &Card::note },
};

std::optional<std::string> labelOf(const std::string& label)
{
    if (label.empty())
        return std::nullopt;
    return label;
}

bool setMulti(Person& person, PropertyID property, MultiValue multi, Error* error)
{
    if (multi.isEmpty())
        return true;
    return person.setValue(property, std::move(multi), error);
}

bool setStrings(Person& person, PropertyID property, const std::vector<Card::Labeled<std::string>>& entries,
    Error* error)
{
    MultiValue multi(PropertyType::MultiString);
    for (const auto& entry : entries) {
        if (!multi.addValueAndLabel(entry.value, labelOf(entry.label))) {
            reportError(error, ErrorCode::WrongValueType, "a text entry was refused");
            return false;
        }
    }
    return setMulti(person, property, std::move(multi), error);
}

Dictionary addressDictionary(const Card::Address& address)
{
    // Empty parts are left out, as the address book's own address builder does.
    Dictionary dictionary;
    auto put = [&](const char* key, const std::string& value) {
        if (!value.empty())
            dictionary.emplace(key, value);
    };
    put(kPersonAddressStreetKey, address.street);
    put(kPersonAddressCityKey, address.city);
    put(kPersonAddressStateKey, address.state);
    put(kPersonAddressZIPKey, address.zip);
    put(kPersonAddressCountryKey, address.country);
    put(kPersonAddressCountryCodeKey, address.countryCode);
    return dictionary;
}

std::string lookup(const Dictionary& dictionary, const char* key)
{
    const auto found = dictionary.find(key);
    return found == dictionary.end() ? std::string() : found->second;
}

template <typename Value, typename Convert>
std::vector<Card::Labeled<Value>> entriesOf(const Person& person, PropertyID property, Convert convert)
{
    std::vector<Card::Labeled<Value>> entries;
    const MultiValue* multi = person.multiValue(property);
    if (!multi)
        return entries;
    for (const MultiValueEntry& entry : multi->entries()) {
        std::optional<Value> value = convert(entry.value);
        if (value)
            entries.push_back({ entry.label.value_or(std::string()), std::move(*value) });
    }
    return entries;
}

} // namespace

Date PersonCardMapping::storedDate(const Card::Date& date)
{
    using namespace std::chrono;
    const year_month_day day { year { date.year.value_or(kYearlessPlaceholder) },
        month { static_cast<unsigned>(date.month) }, std::chrono::day { static_cast<unsigned>(date.day) } };
    return time_point_cast<milliseconds>(sys_days { day });
}

Card::Date PersonCardMapping::cardDate(Date date)
{
    using namespace std::chrono;
    const year_month_day day { floor<days>(date) };
    Card::Date result;
    const int year = static_cast<int>(day.year());
    // A year no card can write (before 1 or past 9999) is as good as unknown.
    if (year != kYearlessPlaceholder && year >= 1 && year <= 9999)
        result.year = year;
    result.month = static_cast<int>(static_cast<unsigned>(day.month()));
    result.day = static_cast<int>(static_cast<unsigned>(day.day()));
    return result;
}

bool PersonCardMapping::holdsPersonData(const Card& card)
{
    for (const TextField& field : kTextFields) {
        if (!(card.*field.field).empty())
            return true;
    }
    return card.birthday || !card.phones.empty() || !card.emails.empty() || !card.urls.empty()
        || !card.relatedNames.empty() || !card.dates.empty() || !card.addresses.empty()
        || !card.instantMessages.empty() || !card.photo.empty();
}

bool PersonCardMapping::fillPerson(const Card& card, Person& person, Error* error)
{
    for (const TextField& field : kTextFields) {
        const std::string& text = card.*field.field;
        if (!text.empty() && !person.setValue(field.property, text, error))
            return false;
    }
    if (card.kind == Card::Kind::Organization
        && !person.setValue(kPersonKindProperty, std::int64_t { kPersonKindOrganization }, error))
        return false;
    if (card.birthday && !person.setValue(kPersonBirthdayProperty, storedDate(*card.birthday), error))
        return false;

    if (!setStrings(person, kPersonPhoneProperty, card.phones, error)
        || !setStrings(person, kPersonEmailProperty, card.emails, error)
        || !setStrings(person, kPersonURLProperty, card.urls, error)
        || !setStrings(person, kPersonRelatedNamesProperty, card.relatedNames, error))
        return false;

    MultiValue dates(PropertyType::MultiDate);
    for (const auto& date : card.dates) {
        if (!dates.addValueAndLabel(storedDate(date.value), labelOf(date.label)))
            return false;
    }
    if (!setMulti(person, kPersonDateProperty, std::move(dates), error))
        return false;

    MultiValue addresses(PropertyType::MultiDictionary);
    for (const auto& address : card.addresses) {
        if (!addresses.addValueAndLabel(addressDictionary(address.value), labelOf(address.label)))
            return false;
    }
    if (!setMulti(person, kPersonAddressProperty, std::move(addresses), error))
        return false;

    MultiValue messages(PropertyType::MultiDictionary);
    for (const auto& message : card.instantMessages) {
        Dictionary dictionary;
        if (!message.value.service.empty())
            dictionary.emplace(kPersonInstantMessageServiceKey, message.value.service);
        dictionary.emplace(kPersonInstantMessageUsernameKey, message.value.username);
        if (!message.value.scheme.empty())
            dictionary.emplace(kPersonInstantMessageSchemeKey, message.value.scheme);
        if (!messages.addValueAndLabel(std::move(dictionary), labelOf(message.label)))
            return false;
    }
    if (!setMulti(person, kPersonInstantMessageProperty, std::move(messages), error))
        return false;

    if (!card.photo.empty() && !person.setImageData(card.photo, error))
        return false;
    // Kept only where the names do not make it, and set after them: a name set later drops it.
    if (card.kind != Card::Kind::Group && !card.formattedName.empty()
        && card.formattedName != CardWriter::composeFormattedName(card)
        && !person.setValue(kPersonFormattedNameProperty, card.formattedName, error))
        return false;
    return true;
}

Card PersonCardMapping::cardFromPerson(const Person& person)
{
    Card card;
    for (const TextField& field : kTextFields) {
        if (const std::string* text = person.stringValue(field.property))
            card.*field.field = *text;
    }
    if (person.copyInteger(kPersonKindProperty).value_or(kPersonKindPerson) == kPersonKindOrganization)
        card.kind = Card::Kind::Organization;
    if (std::optional<Date> birthday = person.copyDate(kPersonBirthdayProperty))
        card.birthday = cardDate(*birthday);

    auto text = [](const ScalarValue& value) -> std::optional<std::string> {
        if (const auto* string = std::get_if<std::string>(&value))
            return *string;
        return std::nullopt;
    };
    card.phones = entriesOf<std::string>(person, kPersonPhoneProperty, text);
    card.emails = entriesOf<std::string>(person, kPersonEmailProperty, text);
    card.urls = entriesOf<std::string>(person, kPersonURLProperty, text);
    card.relatedNames = entriesOf<std::string>(person, kPersonRelatedNamesProperty, text);
    card.dates = entriesOf<Card::Date>(person, kPersonDateProperty, [](const ScalarValue& value) {
        const auto* date = std::get_if<Date>(&value);
        return date ? std::optional<Card::Date>(cardDate(*date)) : std::nullopt;
    });
    card.addresses = entriesOf<Card::Address>(person, kPersonAddressProperty, [](const ScalarValue& value) {
        const auto* dictionary = std::get_if<Dictionary>(&value);
        if (!dictionary)
            return std::optional<Card::Address>();
        Card::Address address;
        address.street = lookup(*dictionary, kPersonAddressStreetKey);
        address.city = lookup(*dictionary, kPersonAddressCityKey);
        address.state = lookup(*dictionary, kPersonAddressStateKey);
        address.zip = lookup(*dictionary, kPersonAddressZIPKey);
        address.country = lookup(*dictionary, kPersonAddressCountryKey);
        address.countryCode = lookup(*dictionary, kPersonAddressCountryCodeKey);
        return std::optional<Card::Address>(std::move(address));
    });
    card.instantMessages
        = entriesOf<Card::InstantMessage>(person, kPersonInstantMessageProperty, [](const ScalarValue& value) {
              const auto* dictionary = std::get_if<Dictionary>(&value);
              if (!dictionary)
                  return std::optional<Card::InstantMessage>();
              return std::optional<Card::InstantMessage>(Card::InstantMessage {
                  lookup(*dictionary, kPersonInstantMessageServiceKey),
                  lookup(*dictionary, kPersonInstantMessageUsernameKey),
                  lookup(*dictionary, kPersonInstantMessageSchemeKey) });
          });
    if (std::optional<std::string> image = person.copyImageData())
        card.photo = std::move(*image);
    // Other programs show FN as it stands, so one made from the names follows the name's
    // script (family name first for Japanese and Chinese) rather than the language this
    // program happens to run in; one another program wrote goes back as it was.
    if (const std::string* formattedName = person.stringValue(kPersonFormattedNameProperty))
        card.formattedName = *formattedName;
    else
        card.formattedName = CardWriter::composeFormattedName(card);
    return card;
}

} // namespace contactstore::vcard
