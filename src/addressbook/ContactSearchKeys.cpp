#include "addressbook/ContactSearchKeys.h"

#include "addressbook/PhoneNumber.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/TextFolding.h"

namespace tessaro {

using namespace contactstore;

namespace {

std::string folded(const Person& person, PropertyID property)
{
    const std::string* text = person.stringValue(property);
    return text ? foundation::TextFolding::shared().fold(*text) : std::string();
}

} // namespace

const ContactSearchKeys& ContactSearchKeys::of(const Person& person)
{
    if (const auto* keys = dynamic_cast<const ContactSearchKeys*>(person.cache()))
        return *keys;

    auto keys = std::make_unique<ContactSearchKeys>();
    keys->firstname = folded(person, kPersonFirstNameProperty);
    keys->lastname = folded(person, kPersonLastNameProperty);
    keys->nickname = folded(person, kPersonNicknameProperty);
    keys->middlename = folded(person, kPersonMiddleNameProperty);
    keys->firstnamephonetic = folded(person, kPersonFirstNamePhoneticProperty);
    keys->lastnamephonetic = folded(person, kPersonLastNamePhoneticProperty);
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
    const ContactSearchKeys& held = *keys;
    person.setCache(std::move(keys));
    return held;
}

} // namespace tessaro
