#include "addressbook/PhoneNumber.h"

namespace tessaro {

std::string PhoneNumber::clean(std::string_view number)
{
    std::string cleaned;
    cleaned.reserve(number.size());
    for (char c : number) {
        if (c != ' ' && c != '-' && c != '(' && c != ')')
            cleaned.push_back(c);
    }
    return cleaned;
}

} // namespace tessaro
