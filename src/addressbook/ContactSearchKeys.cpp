#include "addressbook/ContactSearchKeys.h"

#include "addressbook/PhoneNumber.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/TextFolding.h"

namespace tessaro {

using namespace contactstore;

namespace {

std::string foldedText(const Person& person, PropertyID property)
{
    const std::string* text = person.stringValue(property);
    return text ? foundation::TextFolding::shared().fold(*text) : std::string();
}

} // namespace

ContactSearchKeys& ContactSearchKeys::held(const Person& person)
{
    if (auto* keys = dynamic_cast<ContactSearchKeys*>(person.cache()))
        return *keys;
    auto keys = std::make_unique<ContactSearchKeys>();
    ContactSearchKeys& made = *keys;
    person.setCache(std::move(keys));
    return made;
}

const std::string& ContactSearchKeys::sortKey(const Person& person, std::string_view collation,
                                              const std::function<std::string(std::string_view)>& makeKey,
                                              const std::function<std::string()>& sortName)
{
    ContactSearchKeys& keys = held(person);
    if (!keys.collationKey || keys.collation != collation) {
        keys.collation = std::string(collation);
        keys.collationKey = makeKey(sortName());
    }
    return *keys.collationKey;
}

const ContactSearchKeys& ContactSearchKeys::of(const Person& person)
{
    ContactSearchKeys& held = ContactSearchKeys::held(person);
    if (held.folded)
        return held;
    ContactSearchKeys* keys = &held;
    keys->folded = true;
    keys->firstname = foldedText(person, kPersonFirstNameProperty);
    keys->lastname = foldedText(person, kPersonLastNameProperty);
    keys->nickname = foldedText(person, kPersonNicknameProperty);
    keys->middlename = foldedText(person, kPersonMiddleNameProperty);
    keys->firstnamephonetic = foldedText(person, kPersonFirstNamePhoneticProperty);
    keys->lastnamephonetic = foldedText(person, kPersonLastNamePhoneticProperty);
    if (const MultiValue* phones = person.multiValue(kPersonPhoneProperty)) {
        std::string numbers;
        for (const auto& entry : phones->entries()) {
            const auto* number = std::get_if<std::string>(&entry.value);
            if (!number)
                continue;
            if (!numbers.empty() || &entry != &phones->entries().front())
                numbers += ' ';
            numbers += PhoneNumber::clean(*number);
        }
        keys->phonenumbersforsearch = foundation::TextFolding::shared().fold(numbers);
    }
    return *keys;
}

} // namespace tessaro
