#include "shell/qt/QtTextMeasurer.h"

#include "shell/qt/SystemFonts.h"
#include "shell/qt/TextLayout.h"
#include "platform/ui/TextBounds.h"

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
    std::string_view measured = ui::TextBounds::forLines(text, numberOfLines);
    TextBlock block = TextLayout::layout(QString::fromUtf8(measured.data(), static_cast<qsizetype>(measured.size())), qfont,
                                         maxWidth, numberOfLines, 0, ui::LineBreakMode::WordWrap);
    return { std::ceil(block.width()), block.height() };
}

double QtTextMeasurer::lineHeight(const ui::Font& font) const
{
    return std::ceil(QFontMetricsF(SystemFonts::toQFont(font)).height());
}

} // namespace tessaro
