#pragma once
// The deterministic measurer used when the display has installed none (tests, automation).
// Every code point is half the point size wide, East Asian wide ones the full size; a line
// is 1.2 times the point size high. Lines break at spaces where possible.

#include "platform/ui/TextMeasurer.h"

namespace ui {

class SimpleTextMeasurer final : public TextMeasurer {
public:
    Size measure(const std::string& text, const Font& font, double maxWidth = 0, int numberOfLines = 1) const override;
    double lineHeight(const Font& font) const override;
    // The width of one line without breaking.
    double lineWidth(const std::string& text, const Font& font) const;
};

} // namespace ui
