#pragma once
// Phone numbers as the application compares them: written with blanks, hyphens and
// parentheses for reading, compared without them.

#include <string>
#include <string_view>

namespace tessaro {

class PhoneNumber {
public:
    // The number without blanks, hyphens and parentheses; every other character (digits,
    // "+", "*", "#", letters, other punctuation) stays, in its order.
    static std::string clean(std::string_view number);
};

} // namespace tessaro
