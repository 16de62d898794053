#pragma once
// Measures text the way the painter will set it, so that labels can size themselves and
// tables can compute row heights. The display installs one that asks Qt; without one, a
// simple deterministic measurer is used (every text the same size on every machine), which
// is what tests and the automation driver see.
//
// Ownership: the installed measurer is shared; current() hands out a reference that stays
// valid until the next install.

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/TextStyle.h"

#include <memory>
#include <string>

namespace ui {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    // The size the text takes when set with the font, breaking lines to maxWidth (0: no
    // limit, one line per line break) and keeping at most numberOfLines lines (0: all).
    virtual Size measure(const std::string& text, const Font& font, double maxWidth = 0, int numberOfLines = 1) const = 0;
    virtual double lineHeight(const Font& font) const = 0;

    static const TextMeasurer& current();
    // Null puts the simple measurer back.
    static void install(std::shared_ptr<const TextMeasurer> measurer);
};

} // namespace ui
