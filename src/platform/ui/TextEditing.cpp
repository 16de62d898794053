#include "platform/ui/TextEditing.h"

#include <algorithm>

namespace ui::textediting {

namespace {

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::size_t lastCharacterLength(const std::string& text)
{
    if (text.empty())
        return 0;
    std::size_t start = text.size() - 1;
    // A UTF-8 character is at most four bytes; stop at a lead byte.
    while (start > 0 && isContinuation(text[start]) && text.size() - start < 4)
        --start;
    return text.size() - start;
}

Edit difference(const std::string& before, const std::string& after)
{
    std::size_t prefix = 0;
    std::size_t limit = std::min(before.size(), after.size());
    while (prefix < limit && before[prefix] == after[prefix])
        ++prefix;
    // Never split a character: back up to its lead byte.
    while (prefix > 0 && prefix < before.size() && isContinuation(before[prefix]))
        --prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    while (suffix > 0 && isContinuation(before[before.size() - suffix]))
        --suffix;
    return { { prefix, before.size() - prefix - suffix }, after.substr(prefix, after.size() - prefix - suffix) };
}

std::string applyEdit(const std::string& text, const TextRange& range, const std::string& replacement)
{
    std::size_t location = std::min(range.location, text.size());
    std::size_t length = std::min(range.length, text.size() - location);
    std::string result = text;
    result.replace(location, length, replacement);
    return result;
}

} // namespace ui::textediting
