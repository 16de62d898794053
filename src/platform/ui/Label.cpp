#include "platform/ui/Label.h"

#include "platform/ui/Painter.h"
#include "platform/ui/TextBounds.h"
#include "platform/ui/TextMeasurer.h"

#include <algorithm>

namespace ui {

Label::Label()
    : Label(Rect {})
{
}

Label::Label(const Rect& frame)
    : View(frame)
{
    setUserInteractionEnabled(false);
    m_style.font = Font::systemFontOfSize(17);
}

void Label::setText(std::string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    contentChanged();
}

void Label::setFont(const Font& font)
{
    m_style.font = font;
    contentChanged();
}

void Label::setTextColor(const Color& color)
{
    m_style.color = color;
    contentChanged();
}

void Label::setHighlightedTextColor(std::optional<Color> color)
{
    m_highlightedTextColor = color;
    contentChanged();
}

void Label::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    contentChanged();
}

void Label::setTextAlignment(TextAlignment alignment)
{
    m_style.alignment = alignment;
    contentChanged();
}

void Label::setLineBreakMode(LineBreakMode mode)
{
    m_style.lineBreakMode = mode;
    contentChanged();
}

void Label::setNumberOfLines(int lines)
{
    m_style.numberOfLines = std::max(0, lines);
    contentChanged();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts)
{
    m_adjustsFontSizeToFitWidth = adjusts;
    contentChanged();
}

void Label::setMinimumScaleFactor(double factor)
{
    m_minimumScaleFactor = std::clamp(factor, 0.0, 1.0);
    contentChanged();
}

void Label::setMinimumFontSize(double size)
{
    if (m_style.font.pointSize > 0)
        setMinimumScaleFactor(size / m_style.font.pointSize);
}

TextStyle Label::textStyle() const
{
    TextStyle style = m_style;
    if (m_highlighted && m_highlightedTextColor)
        style.color = *m_highlightedTextColor;
    style.minimumScaleFactor = m_adjustsFontSizeToFitWidth ? (m_minimumScaleFactor > 0 ? m_minimumScaleFactor : 0.5) : 0;
    return style;
}

Size Label::sizeThatFits(const Size& size) const
{
    double maxWidth = size.width > 0 ? size.width : 0;
    return TextMeasurer::current().measure(std::string(TextBounds::forLines(m_text, m_style.numberOfLines)), m_style.font,
                                           maxWidth, m_style.numberOfLines);
}

void Label::draw(Painter& painter)
{
    if (m_text.empty())
        return;
    // The label's lines show a few hundred characters at most; the rest would be laid out
    // only to be cut away.
    std::string_view shown = TextBounds::forLines(m_text, m_style.numberOfLines);
    if (shown.size() == m_text.size())
        painter.drawText(m_text, bounds(), textStyle());
    else
        painter.drawText(std::string(shown), bounds(), textStyle());
}

} // namespace ui
