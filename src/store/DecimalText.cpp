#include "store/DecimalText.h"

#include <cctype>
#include <climits>
#include <cstdint>

namespace tessaro {

int DecimalText::intValue(std::string_view text)
{
    std::size_t position = 0;
    while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position])))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    // One past the largest int is as far as the digits need reading: it is still the smallest
    // int once negated, and anything larger stops at the limit regardless.
    std::int64_t value = 0;
    for (; position < text.size() && std::isdigit(static_cast<unsigned char>(text[position])); ++position) {
        value = value * 10 + (text[position] - '0');
        if (value > std::int64_t(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace tessaro
