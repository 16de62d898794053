#pragma once
// A font as the screens ask for it: the system font at a size, regular, bold or italic.
// Which face draws it is the painter's business.

#include <string>

namespace ui {

enum class FontWeight { Regular, Bold };

struct Font {
    // Empty family means the system font.
    std::string family;
    double pointSize { 17 };
    FontWeight weight { FontWeight::Regular };
    bool italic { false };

    bool operator==(const Font&) const = default;

    static Font systemFontOfSize(double size) { return { {}, size, FontWeight::Regular, false }; }
    static Font boldSystemFontOfSize(double size) { return { {}, size, FontWeight::Bold, false }; }
    static Font italicSystemFontOfSize(double size) { return { {}, size, FontWeight::Regular, true }; }
    static Font fontWithName(std::string family, double size) { return { std::move(family), size, FontWeight::Regular, false }; }

    Font withSize(double size) const
    {
        Font copy = *this;
        copy.pointSize = size;
        return copy;
    }
    bool isBold() const { return weight == FontWeight::Bold; }
};

} // namespace ui
