#pragma once
// How much of a text is worth laying out. No line on a handset's screen shows more than a
// few hundred characters, yet a name can hold a million (an imported file says what it
// likes); laying all of it out only for the truncation to throw it away took minutes. Every
// place that lays text out for a box of a known number of lines first cuts the text to what
// those lines could ever show; the truncation then works on that part as before.

#include <cstddef>
#include <string_view>

namespace ui {

class TextBounds {
public:
    // Bytes of text kept per line: several times what the widest line of the narrowest
    // characters at the smallest size can show, in any script.
    static constexpr std::size_t kBytesPerLine = 2048;
    // Lines counted for a box without a line limit.
    static constexpr int kUnlimitedLines = 256;

    // The start of the text that the lines can show (lines 0: no limit), cut at a character
    // boundary; the whole text when it is short enough.
    static std::string_view forLines(std::string_view text, int lines);
};

} // namespace ui
