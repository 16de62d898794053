#include "shell/qt/SystemFonts.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace tessaro {

QStringList SystemFonts::systemFamilies()
{
    return { QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("DejaVu Sans") };
}

QFont SystemFonts::toQFont(const ui::Font& font)
{
    QFont result;
    QStringList families = systemFamilies();
    if (!font.family.empty())
        families.prepend(QString::fromStdString(font.family));
    result.setFamilies(families);
    // Pixel sizes, not point sizes: one unit of the painter is one point of the handset,
    // whatever the monitor's DPI, and the measurer must agree with every surface painted on.
    result.setPixelSize(std::max(1, int(std::lround(font.pointSize))));
    result.setBold(font.isBold());
    result.setItalic(font.italic);
    // Unhinted outlines scale linearly, so a text measured at one point per unit still fits
    // when painted at two or three device pixels per point.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

} // namespace tessaro
