#include "platform/ui/SimpleTextMeasurer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ui {

namespace {

// Decodes UTF-8 leniently: a broken sequence counts as one narrow character per byte.
std::vector<char32_t> codePoints(const std::string& text)
{
    std::vector<char32_t> result;
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            result.push_back(lead);
            ++i;
            continue;
        }
        char32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1f) : length == 3 ? (lead & 0x0f) : (lead & 0x07);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80)
                valid = false;
            cp = (cp << 6) | (next & 0x3f);
        }
        if (!valid) {
            result.push_back(lead);
            ++i;
            continue;
        }
        result.push_back(cp);
        i += length;
    }
    return result;
}

bool isWide(char32_t cp)
{
    return (cp >= 0x1100 && cp <= 0x115f) || (cp >= 0x2e80 && cp <= 0xa4cf) || (cp >= 0xac00 && cp <= 0xd7a3)
        || (cp >= 0xf900 && cp <= 0xfaff) || (cp >= 0xfe30 && cp <= 0xfe4f) || (cp >= 0xff00 && cp <= 0xff60)
        || (cp >= 0xffe0 && cp <= 0xffe6) || (cp >= 0x1f300 && cp <= 0x1faff) || (cp >= 0x20000 && cp <= 0x3fffd);
}

double advance(char32_t cp, double pointSize)
{
    return isWide(cp) ? pointSize : pointSize / 2;
}

} // namespace

double SimpleTextMeasurer::lineHeight(const Font& font) const
{
    return font.pointSize * 1.2;
}

double SimpleTextMeasurer::lineWidth(const std::string& text, const Font& font) const
{
    double width = 0;
    for (auto cp : codePoints(text))
        width += advance(cp, font.pointSize);
    return width;
}

Size SimpleTextMeasurer::measure(const std::string& text, const Font& font, double maxWidth, int numberOfLines) const
{
    double widest = 0;
    int lines = 0;
    double current = 0;
    double sinceSpace = 0;
    bool lineHasContent = false;
    auto endLine = [&] {
        widest = std::max(widest, current);
        ++lines;
        current = 0;
        sinceSpace = 0;
        lineHasContent = false;
    };
    for (auto cp : codePoints(text)) {
        if (cp == U'\n') {
            endLine();
            continue;
        }
        double w = advance(cp, font.pointSize);
        if (maxWidth > 0 && lineHasContent && current + w > maxWidth) {
            // Carry the word begun since the last space to the next line when it can fit.
            double carried = sinceSpace < current ? sinceSpace : 0;
            current -= carried;
            endLine();
            current = carried;
            sinceSpace = carried;
            lineHasContent = carried > 0;
        }
        current += w;
        sinceSpace = cp == U' ' ? 0 : sinceSpace + w;
        lineHasContent = true;
    }
    endLine();
    if (numberOfLines > 0)
        lines = std::min(lines, numberOfLines);
    if (maxWidth > 0)
        widest = std::min(widest, maxWidth);
    if (text.empty())
        return { 0, lineHeight(font) };
    return { widest, lines * lineHeight(font) };
}

} // namespace ui
