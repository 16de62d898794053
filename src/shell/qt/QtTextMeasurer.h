#pragma once
// Measures text with Qt's font metrics, exactly as QtPainter will set it (both go through
// TextLayout). The display installs one as the UI layer's measurer for as long as it runs.
// Needs a QGuiApplication (fonts are the GUI's).

#include "platform/ui/TextMeasurer.h"

namespace tessaro {

class QtTextMeasurer final : public ui::TextMeasurer {
public:
    ui::Size measure(const std::string& text, const ui::Font& font, double maxWidth = 0,
                     int numberOfLines = 1) const override;
    double lineHeight(const ui::Font& font) const override;
};

} // namespace tessaro
