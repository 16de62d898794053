#include "platform/ui/TextBounds.h"

namespace ui {

std::string_view TextBounds::forLines(std::string_view text, int lines)
{
    std::size_t limit = kBytesPerLine * static_cast<std::size_t>(lines > 0 ? lines : kUnlimitedLines);
    if (text.size() <= limit)
        return text;
    // Back to the first byte of a character, so that no half character reaches the layout.
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    return text.substr(0, limit);
}

} // namespace ui
