#include "support/RecordingPainter.h"

#include "platform/ui/Image.h"

namespace testsupport {

std::vector<std::string> RecordingPainter::textStrings() const
{
    std::vector<std::string> result;
    for (const auto& t : texts)
        result.push_back(t.text);
    return result;
}

const RecordingPainter::Text* RecordingPainter::findText(const std::string& text) const
{
    for (const auto& t : texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

void RecordingPainter::save()
{
    m_stack.push_back(m_state);
}

void RecordingPainter::restore()
{
    if (m_stack.empty())
        return;
    m_state = m_stack.back();
    m_stack.pop_back();
}

void RecordingPainter::translate(double dx, double dy)
{
    m_state.origin.x += dx;
    m_state.origin.y += dy;
}

void RecordingPainter::clipToRect(const ui::Rect&, double)
{
}

void RecordingPainter::multiplyOpacity(double factor)
{
    m_state.opacity *= factor;
}

void RecordingPainter::fillRect(const ui::Rect& rect, const ui::Color& color, double cornerRadius)
{
    fills.push_back({ absolute(rect), color, cornerRadius, m_state.opacity });
}

void RecordingPainter::strokeRect(const ui::Rect&, const ui::Color&, double, double)
{
    ++strokes;
}

void RecordingPainter::fillEllipse(const ui::Rect& rect, const ui::Color& color)
{
    fills.push_back({ absolute(rect), color, rect.width() / 2, m_state.opacity });
}

void RecordingPainter::drawLine(const ui::Point&, const ui::Point&, const ui::Color&, double)
{
    ++lines;
}

void RecordingPainter::drawText(const std::string& text, const ui::Rect& rect, const ui::TextStyle& style)
{
    texts.push_back({ text, absolute(rect), style, m_state.opacity });
}

void RecordingPainter::drawImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode)
{
    images.push_back({ image.name(), absolute(rect), mode });
}

} // namespace testsupport
