#pragma once
// Turns the fonts the screens ask for into Qt fonts. The handset's system face is a
// Helvetica; Liberation Sans has its metrics, so texts take about the room they were laid
// out for. Japanese falls to Noto Sans CJK JP (named explicitly, so that kanji take their
// Japanese forms rather than the Chinese ones fontconfig would pick), and DejaVu Sans
// catches whatever else is left.

#include "platform/ui/Font.h"

#include <QFont>
#include <QStringList>

namespace tessaro {

class SystemFonts {
public:
    // Sizes are in points of the handset's screen, which the display paints as its unit.
    static QFont toQFont(const ui::Font& font);
    static QStringList systemFamilies();
};

} // namespace tessaro
