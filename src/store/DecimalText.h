#pragma once
// Reading identifiers that are kept as decimal text: a group's identifier in the catalogue, a
// person's record identifier in a local group's member rows. The database and the group screens
// read them the same lenient way, so a value one side accepts the other finds again.

#include <string_view>

namespace tessaro {

class DecimalText {
public:
    DecimalText() = delete;

    // The integer a text starts with: leading white space skipped, an optional sign, then
    // digits up to the first other character; 0 when there are none. Values beyond 32 bits
    // stop at the limits, so a damaged value cannot overflow.
    static int intValue(std::string_view text);
};

} // namespace tessaro
