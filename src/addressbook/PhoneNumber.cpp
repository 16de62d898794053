#include "addressbook/PhoneNumber.h"

#include "platform/contactstore/PersonSearchKeys.h"

namespace tessaro {

std::string PhoneNumber::clean(std::string_view number)
{
    return contactstore::PersonSearchKeys::cleanedNumber(number);
}

} // namespace tessaro
