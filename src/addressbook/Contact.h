#pragma once
// The application's one view of an address-book person. A copyable value that wraps a
// shared person record and keeps it alive; it keeps no copy of the data: every read goes to
// the record and every write changes the record in memory, pending until the address book
// is saved (only removeSelfFromAddressBook saves by itself). Two contacts are the same
// person when their record identifiers are equal.
//
// Lookups and removal go through the shared handle (SharedAddressBook).

#include "addressbook/EntryDictionary.h"
#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/StoreError.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class Contact {
public:
    using Date = contactstore::Date;
    using Dictionary = contactstore::Dictionary;
    using PropertyID = contactstore::PropertyID;

    // A wrapper of the record; none for a null record.
    static std::optional<Contact> contactWithRecord(contactstore::PersonRef record);
    // Wrappers of the records, in their order; null records are left out.
    static std::vector<Contact> contactsWithRecords(std::vector<contactstore::PersonRef> records);
    // The person with the identifier in the shared address book; none when there is none.
    static std::optional<Contact> contactWithRecordID(contactstore::RecordID recordID);
    // A new empty person, not yet in the address book (AddressBookQueries::addContact).
    static Contact contact();

    const contactstore::PersonRef& record() const { return m_record; }
    contactstore::RecordID recordID() const;
    contactstore::RecordType recordType() const;
    bool isPerson() const { return recordType() == contactstore::kPersonType; }

    // Single values; none when absent, never an empty text for absent.
    std::optional<std::string> firstname() const { return getRecordString(contactstore::kPersonFirstNameProperty); }
    std::optional<std::string> lastname() const { return getRecordString(contactstore::kPersonLastNameProperty); }
    std::optional<std::string> middlename() const { return getRecordString(contactstore::kPersonMiddleNameProperty); }
    std::optional<std::string> prefix() const { return getRecordString(contactstore::kPersonPrefixProperty); }
    std::optional<std::string> suffix() const { return getRecordString(contactstore::kPersonSuffixProperty); }
    std::optional<std::string> nickname() const { return getRecordString(contactstore::kPersonNicknameProperty); }
    std::optional<std::string> firstnamephonetic() const { return getRecordString(contactstore::kPersonFirstNamePhoneticProperty); }
    std::optional<std::string> lastnamephonetic() const { return getRecordString(contactstore::kPersonLastNamePhoneticProperty); }
    std::optional<std::string> middlenamephonetic() const { return getRecordString(contactstore::kPersonMiddleNamePhoneticProperty); }
    std::optional<std::string> organization() const { return getRecordString(contactstore::kPersonOrganizationProperty); }
    std::optional<std::string> jobtitle() const { return getRecordString(contactstore::kPersonJobTitleProperty); }
    std::optional<std::string> department() const { return getRecordString(contactstore::kPersonDepartmentProperty); }
    std::optional<std::string> note() const { return getRecordString(contactstore::kPersonNoteProperty); }
    std::optional<Date> birthday() const { return getRecordDate(contactstore::kPersonBirthdayProperty); }
    std::optional<Date> creationDate() const { return getRecordDate(contactstore::kPersonCreationDateProperty); }
    std::optional<Date> modificationDate() const { return getRecordDate(contactstore::kPersonModificationDateProperty); }

    // Named setters: nothing removes the value; a failure is logged ("Error: ...").
    void setFirstname(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonFirstNameProperty); }
    void setLastname(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonLastNameProperty); }
    void setMiddlename(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonMiddleNameProperty); }
    void setPrefix(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonPrefixProperty); }
    void setSuffix(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonSuffixProperty); }
    void setNickname(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonNicknameProperty); }
    void setFirstnamephonetic(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonFirstNamePhoneticProperty); }
    void setLastnamephonetic(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonLastNamePhoneticProperty); }
    void setMiddlenamephonetic(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonMiddleNamePhoneticProperty); }
    void setOrganization(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonOrganizationProperty); }
    void setJobtitle(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonJobTitleProperty); }
    void setDepartment(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonDepartmentProperty); }
    void setNote(const std::optional<std::string>& value) { (void)setString(value, contactstore::kPersonNoteProperty); }
    void setBirthday(const std::optional<Date>& value) { (void)setDate(value, contactstore::kPersonBirthdayProperty); }

    // Generic reads and writes. The writes return false and log "Error: <description>" when
    // the address book refuses; the record then keeps its previous value.
    std::optional<std::string> getRecordString(PropertyID property) const;
    std::optional<Date> getRecordDate(PropertyID property) const;
    [[nodiscard]] bool setString(const std::optional<std::string>& value, PropertyID property);
    [[nodiscard]] bool setDate(const std::optional<Date>& value, PropertyID property);
    [[nodiscard]] bool setMulti(const std::optional<contactstore::MultiValue>& value, PropertyID property);

    // Multi-values: values in record order, their display labels (one per entry, the empty
    // text for an entry without a label), and value-label pairs.
    std::vector<contactstore::ScalarValue> arrayForProperty(PropertyID property) const;
    std::vector<std::string> labelsForProperty(PropertyID property) const;
    std::vector<EntryDictionary> dictionaryArrayForProperty(PropertyID property) const;
    // A multi-value of the type with one entry per dictionary, in order. None when an entry
    // has no value or a value of another type: nothing is written half.
    static std::optional<contactstore::MultiValue> createMultiValueFromArray(const std::vector<EntryDictionary>& dictionaries,
                                                                             contactstore::PropertyType type);

    std::vector<std::string> emailArray() const;
    std::vector<std::string> emailLabels() const { return labelsForProperty(contactstore::kPersonEmailProperty); }
    std::vector<EntryDictionary> emailDictionaries() const { return dictionaryArrayForProperty(contactstore::kPersonEmailProperty); }
    void setEmailDictionaries(const std::vector<EntryDictionary>& dictionaries);

    std::vector<std::string> phoneArray() const;
    std::vector<std::string> phoneLabels() const { return labelsForProperty(contactstore::kPersonPhoneProperty); }
    std::vector<EntryDictionary> phoneDictionaries() const { return dictionaryArrayForProperty(contactstore::kPersonPhoneProperty); }
    void setPhoneDictionaries(const std::vector<EntryDictionary>& dictionaries);

    std::vector<std::string> relatedNameArray() const;
    std::vector<std::string> relatedNameLabels() const { return labelsForProperty(contactstore::kPersonRelatedNamesProperty); }
    std::vector<EntryDictionary> relatedNameDictionaries() const { return dictionaryArrayForProperty(contactstore::kPersonRelatedNamesProperty); }
    void setRelatedNameDictionaries(const std::vector<EntryDictionary>& dictionaries);

    std::vector<std::string> urlArray() const;
    std::vector<std::string> urlLabels() const { return labelsForProperty(contactstore::kPersonURLProperty); }
    std::vector<EntryDictionary> urlDictionaries() const { return dictionaryArrayForProperty(contactstore::kPersonURLProperty); }
    void setUrlDictionaries(const std::vector<EntryDictionary>& dictionaries);

    std::vector<Date> dateArray() const;
    std::vector<std::string> dateLabels() const { return labelsForProperty(contactstore::kPersonDateProperty); }
    std::vector<EntryDictionary> dateDictionaries() const { return dictionaryArrayForProperty(contactstore::kPersonDateProperty); }
    void setDateDictionaries(const std::vector<EntryDictionary>& dictionaries);

    std::vector<Dictionary> addressArray() const;
    std::vector<std::string> addressLabels() const { return labelsForProperty(contactstore::kPersonAddressProperty); }
    std::vector<EntryDictionary> addressDictionaries() const { return dictionaryArrayForProperty(contactstore::kPersonAddressProperty); }
    void setAddressDictionaries(const std::vector<EntryDictionary>& dictionaries);

    // Instant-message accounts (service and user name).
    std::vector<Dictionary> smsArray() const;
    std::vector<std::string> smsLabels() const { return labelsForProperty(contactstore::kPersonInstantMessageProperty); }
    std::vector<EntryDictionary> smsDictionaries() const { return dictionaryArrayForProperty(contactstore::kPersonInstantMessageProperty); }
    void setSmsDictionaries(const std::vector<EntryDictionary>& dictionaries);

    // An entry with the key left out where the argument is nothing.
    static EntryDictionary dictionaryWithValue(std::optional<contactstore::ScalarValue> value, std::optional<std::string> label);
    // A postal address; keys whose argument is nothing are left out.
    static Dictionary addressWithStreet(const std::optional<std::string>& street, const std::optional<std::string>& city,
                                        const std::optional<std::string>& state, const std::optional<std::string>& zip,
                                        const std::optional<std::string>& country, const std::optional<std::string>& code);
    static Dictionary smsWithService(const std::optional<std::string>& service, const std::optional<std::string>& user);

    // Values joined with one blank.
    std::string phonenumbers() const;
    std::string emailaddresses() const;
    std::string urls() const;
    // The cleaned phone numbers (PhoneNumber::clean) in record order, joined with one blank;
    // the empty text without phone numbers. Digits typed without separators find numbers
    // written with them.
    std::string phonenumbersforsearch() const;

    // The address book's own display name of the person.
    std::optional<std::string> compositeName() const;
    // The name the lists show: prefix, family name, "nickname", given name, ", suffix";
    // the empty text for a person without given and family name.
    std::string contactName() const;
    // What the lists sort by: the phonetic family name when there is one, else contactName.
    std::string sortName() const;
    // The collation key of sortName made by makeKey (e.g. LocalizedIndexedCollation's
    // sortKey), kept with the person until it changes or another collation is named, so
    // that long lists sort without making keys again.
    const std::string& sortKey(std::string_view collation, const std::function<std::string(std::string_view sortName)>& makeKey) const;

    // The picture's thumbnail (encoded image bytes); none without a picture.
    std::optional<std::string> image() const;
    // Stores encoded (PNG) image bytes as the picture; nothing removes the picture if any.
    void setImage(const std::optional<std::string>& pngData);

    // Removes the person from the shared address book and, only if that worked, saves.
    [[nodiscard]] bool removeSelfFromAddressBook(contactstore::Error* error = nullptr);

    // Tables describing properties.
    static std::string localizedPropertyName(PropertyID property);
    static contactstore::PropertyType propertyType(PropertyID property);
    static std::string propertyTypeString(contactstore::PropertyType type);
    static std::optional<std::string> propertyString(PropertyID property);
    static bool propertyIsMultivalue(PropertyID property);
    static std::vector<contactstore::ScalarValue> arrayForProperty(PropertyID property, const contactstore::PersonRef& record);
    static std::optional<std::string> objectForProperty(PropertyID property, const contactstore::PersonRef& record);

    // Same person: equal identifiers, or the same unsaved record.
    friend bool operator==(const Contact& first, const Contact& second);

private:
    explicit Contact(contactstore::PersonRef record);
    void setDictionaries(const std::vector<EntryDictionary>& dictionaries, PropertyID property, contactstore::PropertyType type);

    contactstore::PersonRef m_record;
};

} // namespace tessaro
