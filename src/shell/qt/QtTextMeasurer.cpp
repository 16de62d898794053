#include "shell/qt/QtTextMeasurer.h"

#include "shell/qt/SystemFonts.h"
#include "shell/qt/TextLayout.h"

#include <QFontMetricsF>
#include <QString>

#include <cmath>

namespace tessaro {

ui::Size QtTextMeasurer::measure(const std::string& text, const ui::Font& font, double maxWidth, int numberOfLines) const
{
    QFont qfont = SystemFonts::toQFont(font);
    if (text.empty())
        return { 0, lineHeight(font) };
    // Measuring never truncates: the caller wants the room the whole text needs, up to the
    // line limit.
    TextBlock block = TextLayout::layout(QString::fromStdString(text), qfont, maxWidth, numberOfLines, 0,
                                         ui::LineBreakMode::WordWrap);
    return { std::ceil(block.width()), block.height() };
}

double QtTextMeasurer::lineHeight(const ui::Font& font) const
{
    return std::ceil(QFontMetricsF(SystemFonts::toQFont(font)).height());
}

} // namespace tessaro
