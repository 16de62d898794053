#include "addressbook/Contact.h"

#include "addressbook/ContactSearchKeys.h"
#include "addressbook/PhoneNumber.h"
#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Localization.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/Log.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tessaro {

using namespace contactstore;

namespace {

void logError(const Error& error)
{
    foundation::log("Error: " + error.localizedDescription());
}

template <typename T>
std::vector<T> valuesOf(const Person& person, PropertyID property)
{
    std::vector<T> values;
    if (const MultiValue* multi = person.multiValue(property)) {
        values.reserve(multi->count());
        for (const auto& entry : multi->entries()) {
            if (const auto* held = std::get_if<T>(&entry.value))
                values.push_back(*held);
        }
    }
    return values;
}

std::string joined(const std::vector<std::string>& values)
{
    std::string text;
    for (const auto& value : values) {
        if (!text.empty() || &value != &values.front())
            text += ' ';
        text += value;
    }
    return text;
}

// The length of a white space or line end character at the start (or, backwards, at the
// end) of UTF-8 text; 0 when there is none. Covers what the platform's trimming removes:
// ASCII white space, next line, no-break and ideographic spaces, the Unicode spaces and the
// line and paragraph separators.
std::size_t whiteSpaceAt(std::string_view text, std::size_t position)
{
    auto byte = [&text](std::size_t index) { return static_cast<unsigned char>(text[index]); };
    unsigned char first = byte(position);
    if (first == ' ' || (first >= 0x09 && first <= 0x0D))
        return 1;
    if (first == 0xC2 && position + 1 < text.size() && (byte(position + 1) == 0x85 || byte(position + 1) == 0xA0))
        return 2;
    if (position + 2 >= text.size())
        return 0;
    unsigned char second = byte(position + 1);
    unsigned char third = byte(position + 2);
    if (first == 0xE1 && second == 0x9A && third == 0x80)
        return 3; // U+1680
    if (first == 0xE2 && second == 0x80 && ((third >= 0x80 && third <= 0x8A) || third == 0xA8 || third == 0xA9 || third == 0xAF))
        return 3; // U+2000..U+200A, U+2028, U+2029, U+202F
    if (first == 0xE2 && second == 0x81 && third == 0x9F)
        return 3; // U+205F
    if (first == 0xE3 && second == 0x80 && third == 0x80)
        return 3; // U+3000
    return 0;
}

std::string trimmed(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t length = whiteSpaceAt(text, start);
        if (!length)
            break;
        start += length;
    }
    std::size_t end = text.size();
    while (end > start) {
        // Step back over one UTF-8 character and see whether it is white space.
        std::size_t begin = end - 1;
        while (begin > start && (static_cast<unsigned char>(text[begin]) & 0xC0) == 0x80)
            --begin;
        if (whiteSpaceAt(text, begin) != end - begin)
            break;
        end = begin;
    }
    return std::string(text.substr(start, end - start));
}

} // namespace

Contact::Contact(PersonRef record)
    : m_record(std::move(record))
{
}

std::optional<Contact> Contact::contactWithRecord(PersonRef record)
{
    if (!record)
        return std::nullopt;
    return Contact(std::move(record));
}

std::vector<Contact> Contact::contactsWithRecords(std::vector<PersonRef> records)
{
    std::vector<Contact> contacts;
    contacts.reserve(records.size());
    for (auto& record : records) {
        if (record)
            contacts.push_back(Contact(std::move(record)));
    }
    return contacts;
}

std::optional<Contact> Contact::contactWithRecordID(RecordID recordID)
{
    auto book = SharedAddressBook::get();
    if (!book)
        return std::nullopt;
    return contactWithRecord(book->personWithRecordID(recordID));
}

Contact Contact::contact()
{
    return Contact(Person::create());
}

RecordID Contact::recordID() const
{
    return m_record->recordID();
}

RecordType Contact::recordType() const
{
    return m_record->recordType();
}

bool operator==(const Contact& first, const Contact& second)
{
    if (first.m_record == second.m_record)
        return true;
    return first.recordID() != kRecordInvalidID && first.recordID() == second.recordID();
}

std::optional<std::string> Contact::getRecordString(PropertyID property) const
{
    return m_record->copyString(property);
}

std::optional<Contact::Date> Contact::getRecordDate(PropertyID property) const
{
    return m_record->copyDate(property);
}

namespace {

bool write(Person& person, PropertyID property, std::optional<Value> value)
{
    Error error;
    bool written = value ? person.setValue(property, std::move(*value), &error) : person.removeValue(property, &error);
    if (!written)
        logError(error);
    return written;
}

} // namespace

bool Contact::setString(const std::optional<std::string>& value, PropertyID property)
{
    return write(*m_record, property, value ? std::optional<Value>(*value) : std::nullopt);
}

bool Contact::setDate(const std::optional<Date>& value, PropertyID property)
{
    return write(*m_record, property, value ? std::optional<Value>(*value) : std::nullopt);
}

bool Contact::setMulti(const std::optional<MultiValue>& value, PropertyID property)
{
    return write(*m_record, property, value ? std::optional<Value>(*value) : std::nullopt);
}

std::vector<ScalarValue> Contact::arrayForProperty(PropertyID property) const
{
    return arrayForProperty(property, m_record);
}

std::vector<std::string> Contact::labelsForProperty(PropertyID property) const
{
    std::vector<std::string> labels;
    if (const MultiValue* multi = m_record->multiValue(property)) {
        labels.reserve(multi->count());
        for (const auto& entry : multi->entries())
            labels.push_back(AddressBook::copyLocalizedLabel(entry.label ? std::optional<std::string_view>(*entry.label) : std::nullopt));
    }
    return labels;
}

std::vector<EntryDictionary> Contact::dictionaryArrayForProperty(PropertyID property) const
{
    std::vector<ScalarValue> values = arrayForProperty(property);
    std::vector<std::string> labels = labelsForProperty(property);
    std::size_t count = std::min(values.size(), labels.size());
    std::vector<EntryDictionary> dictionaries;
    dictionaries.reserve(count);
    for (std::size_t index = 0; index < count; ++index)
        dictionaries.push_back(EntryDictionary { std::move(values[index]), std::move(labels[index]) });
    return dictionaries;
}

std::optional<MultiValue> Contact::createMultiValueFromArray(const std::vector<EntryDictionary>& dictionaries, PropertyType type)
{
    MultiValue multi(type);
    for (const auto& dictionary : dictionaries) {
        if (!dictionary.value || !multi.addValueAndLabel(*dictionary.value, dictionary.label))
            return std::nullopt;
    }
    return multi;
}

void Contact::setDictionaries(const std::vector<EntryDictionary>& dictionaries, PropertyID property, PropertyType type)
{
    auto multi = createMultiValueFromArray(dictionaries, type);
    if (!multi) {
        foundation::log("Error: an entry without a value, or with a value of the wrong kind, cannot be stored in "
                        + propertyString(property).value_or(std::to_string(property)));
        return;
    }
    (void)setMulti(*multi, property);
}

std::vector<std::string> Contact::emailArray() const { return valuesOf<std::string>(*m_record, kPersonEmailProperty); }
std::vector<std::string> Contact::phoneArray() const { return valuesOf<std::string>(*m_record, kPersonPhoneProperty); }
std::vector<std::string> Contact::relatedNameArray() const { return valuesOf<std::string>(*m_record, kPersonRelatedNamesProperty); }
std::vector<std::string> Contact::urlArray() const { return valuesOf<std::string>(*m_record, kPersonURLProperty); }
std::vector<Contact::Date> Contact::dateArray() const { return valuesOf<Date>(*m_record, kPersonDateProperty); }
std::vector<Contact::Dictionary> Contact::addressArray() const { return valuesOf<Dictionary>(*m_record, kPersonAddressProperty); }
std::vector<Contact::Dictionary> Contact::smsArray() const { return valuesOf<Dictionary>(*m_record, kPersonInstantMessageProperty); }

void Contact::setEmailDictionaries(const std::vector<EntryDictionary>& d) { setDictionaries(d, kPersonEmailProperty, PropertyType::MultiString); }
void Contact::setPhoneDictionaries(const std::vector<EntryDictionary>& d) { setDictionaries(d, kPersonPhoneProperty, PropertyType::MultiString); }
void Contact::setRelatedNameDictionaries(const std::vector<EntryDictionary>& d) { setDictionaries(d, kPersonRelatedNamesProperty, PropertyType::MultiString); }
void Contact::setUrlDictionaries(const std::vector<EntryDictionary>& d) { setDictionaries(d, kPersonURLProperty, PropertyType::MultiString); }
void Contact::setDateDictionaries(const std::vector<EntryDictionary>& d) { setDictionaries(d, kPersonDateProperty, PropertyType::MultiDate); }
void Contact::setAddressDictionaries(const std::vector<EntryDictionary>& d) { setDictionaries(d, kPersonAddressProperty, PropertyType::MultiDictionary); }
void Contact::setSmsDictionaries(const std::vector<EntryDictionary>& d) { setDictionaries(d, kPersonInstantMessageProperty, PropertyType::MultiDictionary); }

EntryDictionary Contact::dictionaryWithValue(std::optional<ScalarValue> value, std::optional<std::string> label)
{
    return EntryDictionary { std::move(value), std::move(label) };
}

Contact::Dictionary Contact::addressWithStreet(const std::optional<std::string>& street, const std::optional<std::string>& city,
                                               const std::optional<std::string>& state, const std::optional<std::string>& zip,
                                               const std::optional<std::string>& country, const std::optional<std::string>& code)
{
    Dictionary address;
    const std::array<std::pair<const char*, const std::optional<std::string>*>, 6> parts { {
        { kPersonAddressStreetKey, &street },
        { kPersonAddressCityKey, &city },
        { kPersonAddressStateKey, &state },
        { kPersonAddressZIPKey, &zip },
        { kPersonAddressCountryKey, &country },
        { kPersonAddressCountryCodeKey, &code },
    } };
    for (const auto& [key, part] : parts) {
        if (*part)
            address.emplace(key, **part);
    }
    return address;
}

Contact::Dictionary Contact::smsWithService(const std::optional<std::string>& service, const std::optional<std::string>& user)
{
    Dictionary account;
    if (service)
        account.emplace(kPersonInstantMessageServiceKey, *service);
    if (user)
        account.emplace(kPersonInstantMessageUsernameKey, *user);
    return account;
}

std::string Contact::phonenumbers() const { return joined(phoneArray()); }
std::string Contact::emailaddresses() const { return joined(emailArray()); }
std::string Contact::urls() const { return joined(urlArray()); }

std::string Contact::phonenumbersforsearch() const
{
    std::string text;
    bool first = true;
    for (const auto& number : phoneArray()) {
        if (!first)
            text += ' ';
        text += PhoneNumber::clean(number);
        first = false;
    }
    return text;
}

std::optional<std::string> Contact::compositeName() const
{
    return m_record->copyCompositeName();
}

std::string Contact::contactName() const
{
    // Read where the names lie: an order by name goes over every person's.
    const auto first = m_record->textValue(kPersonFirstNameProperty);
    const auto last = m_record->textValue(kPersonLastNameProperty);
    std::string name;
    if (first || last) {
        if (const auto prefix = m_record->textValue(kPersonPrefixProperty))
            (name += *prefix) += ' ';
        if (last)
            (name += *last) += ' ';
        if (const auto nickname = m_record->textValue(kPersonNicknameProperty))
            ((name += '"') += *nickname) += "\" ";
        if (first)
            name += *first;
        const auto suffix = m_record->textValue(kPersonSuffixProperty);
        if (suffix && !name.empty())
            ((name += ", ") += *suffix) += ' ';
        else
            name += ' ';
    }
    return trimmed(name);
}

std::string Contact::sortName() const
{
    if (const auto phonetic = m_record->textValue(kPersonLastNamePhoneticProperty))
        return trimmed(*phonetic);
    return contactName();
}

const std::string& Contact::sortKey(std::string_view collation, const std::function<std::string(std::string_view)>& makeKey) const
{
    return ContactSearchKeys::sortKey(*m_record, collation, makeKey, [this] { return sortName(); });
}

std::optional<std::string> Contact::image() const
{
    if (!m_record->hasImageData())
        return std::nullopt;
    return m_record->copyImageDataWithFormat(ImageFormat::Thumbnail);
}

void Contact::setImage(const std::optional<std::string>& pngData)
{
    Error error;
    if (pngData) {
        if (!m_record->setImageData(*pngData, &error))
            logError(error);
    } else if (m_record->hasImageData()) {
        if (!m_record->removeImageData(&error))
            logError(error);
    }
}

bool Contact::removeSelfFromAddressBook(Error* error)
{
    auto book = SharedAddressBook::get();
    if (!book) {
        reportError(error, ErrorCode::NotInAddressBook, "There is no address book.");
        return false;
    }
    return book->removeRecord(m_record, error) && book->save(error);
}

std::string Contact::localizedPropertyName(PropertyID property)
{
    return Localization::localizedPropertyName(property);
}

PropertyType Contact::propertyType(PropertyID property)
{
    return Person::propertyType(property);
}

std::string Contact::propertyTypeString(PropertyType type)
{
    switch (type) {
    case PropertyType::String: return "String";
    case PropertyType::Integer: return "Integer";
    case PropertyType::Real: return "Float";
    case PropertyType::Date: return "Date";
    case PropertyType::Dictionary: return "Dictionary";
    case PropertyType::MultiString: return "Multi String";
    case PropertyType::MultiInteger: return "Multi Integer";
    case PropertyType::MultiReal: return "Multi Float";
    case PropertyType::MultiDate: return "Multi Date";
    case PropertyType::MultiDictionary: return "Multi Dictionary";
    default: return "Invalid Property";
    }
}

std::optional<std::string> Contact::propertyString(PropertyID property)
{
    switch (property) {
    case kPersonFirstNameProperty: return "First Name";
    case kPersonLastNameProperty: return "Last Name";
    case kPersonMiddleNameProperty: return "Middle Name";
    case kPersonPrefixProperty: return "Prefix";
    case kPersonSuffixProperty: return "Suffix";
    case kPersonNicknameProperty: return "Nickname";
    case kPersonFirstNamePhoneticProperty: return "Phonetic First Name";
    case kPersonLastNamePhoneticProperty: return "Phonetic Last Name";
    case kPersonMiddleNamePhoneticProperty: return "Phonetic Middle Name";
    case kPersonOrganizationProperty: return "Organization";
    case kPersonJobTitleProperty: return "Job Title";
    case kPersonDepartmentProperty: return "Department";
    case kPersonEmailProperty: return "Email";
    case kPersonBirthdayProperty: return "Birthday";
    case kPersonNoteProperty: return "Note";
    case kPersonCreationDateProperty: return "Creation Date";
    case kPersonModificationDateProperty: return "Modification Date";
    case kPersonAddressProperty: return "Address";
    case kPersonDateProperty: return "Date";
    case kPersonKindProperty: return "Kind";
    case kPersonPhoneProperty: return "Phone";
    case kPersonInstantMessageProperty: return "Instant Message";
    case kPersonURLProperty: return "URL";
    case kPersonRelatedNamesProperty: return "Related Name";
    default: return std::nullopt;
    }
}

bool Contact::propertyIsMultivalue(PropertyID property)
{
    // The sixteen single values of the person; everything else, the kind included, counts
    // as multi-valued, as the wrapper has always answered.
    return !(property >= kPersonFirstNameProperty && property <= kPersonModificationDateProperty);
}

std::vector<ScalarValue> Contact::arrayForProperty(PropertyID property, const PersonRef& record)
{
    if (!record)
        return {};
    if (const MultiValue* multi = record->multiValue(property))
        return multi->copyArrayOfAllValues();
    return {};
}

std::optional<std::string> Contact::objectForProperty(PropertyID property, const PersonRef& record)
{
    if (!record)
        return std::nullopt;
    return record->copyString(property);
}

} // namespace tessaro
