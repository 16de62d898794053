#include "platform/ui/TextView.h"

#include "platform/ui/Painter.h"
#include "platform/ui/TextEditing.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>

namespace ui {

TextView::TextView()
    : TextView(Rect {})
{
}

TextView::TextView(const Rect& frame)
    : ScrollView(frame)
{
    setBackgroundColor(Color::whiteColor());
    setShowsHorizontalScrollIndicator(false);
}

TextView::~TextView() = default;

void TextView::setText(std::string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    updateContentSize();
    contentChanged();
}

void TextView::setFont(const Font& font)
{
    m_font = font;
    updateContentSize();
    contentChanged();
}

void TextView::setTextColor(const Color& color)
{
    m_textColor = color;
    contentChanged();
}

void TextView::setTextAlignment(TextAlignment alignment)
{
    m_textAlignment = alignment;
    contentChanged();
}

void TextView::setEditable(bool editable)
{
    m_editable = editable;
    if (!editable && isFirstResponder())
        View::resignFirstResponder();
}

TextStyle TextView::textStyle() const
{
    TextStyle style;
    style.font = m_font;
    style.color = m_textColor;
    style.alignment = m_textAlignment;
    style.lineBreakMode = LineBreakMode::WordWrap;
    style.numberOfLines = 0;
    style.centerVertically = false;
    return style;
}

void TextView::updateContentSize()
{
    double width = std::max(0.0, bounds().width() - 2 * textInset);
    // An empty last line still takes a line, so the caret has somewhere to go.
    std::string measured = m_text.empty() || m_text.back() == '\n' ? m_text + " " : m_text;
    Size text = TextMeasurer::current().measure(measured, m_font, width, 0);
    setContentSize({ bounds().width(), text.height + 2 * textInset });
}

void TextView::layoutSubviews()
{
    updateContentSize();
}

bool TextView::becomeFirstResponder()
{
    return m_focus.become(*this, [this] { return !m_delegate || m_delegate->textViewShouldBeginEditing(*this); });
}

bool TextView::resignFirstResponder()
{
    return m_focus.resign(*this, [this] { return !m_delegate || m_delegate->textViewShouldEndEditing(*this); });
}

void TextView::didMoveToWindow()
{
    m_focus.arrived(*this);
}

void TextView::didBecomeFirstResponder()
{
    m_editing = true;
    contentChanged();
    if (m_delegate)
        m_delegate->textViewDidBeginEditing(*this);
}

void TextView::didResignFirstResponder()
{
    if (!m_editing)
        return;
    m_editing = false;
    contentChanged();
    if (m_delegate)
        m_delegate->textViewDidEndEditing(*this);
}

bool TextView::applyUserEdit(const TextRange& range, const std::string& replacement)
{
    if (m_delegate && !m_delegate->shouldChangeTextInRange(*this, range, replacement))
        return false;
    std::string changed = textediting::applyEdit(m_text, range, replacement);
    if (changed == m_text)
        return true;
    m_text = std::move(changed);
    updateContentSize();
    contentChanged();
    // Typing at the end keeps the end in sight.
    scrollRectToVisible({ 0, contentSize().height - 1, 1, 1 }, false);
    if (m_delegate)
        m_delegate->textViewDidChange(*this);
    return true;
}

void TextView::replaceTextFromInput(const std::string& text)
{
    auto edit = textediting::difference(m_text, text);
    if (edit.range.length > 0 || !edit.replacement.empty())
        applyUserEdit(edit.range, edit.replacement);
}

void TextView::insertText(const std::string& text)
{
    if (!text.empty())
        applyUserEdit({ m_text.size(), 0 }, text);
}

void TextView::deleteBackward()
{
    std::size_t length = textediting::lastCharacterLength(m_text);
    if (length > 0)
        applyUserEdit({ m_text.size() - length, length }, {});
}

void TextView::touchesBegan(const Touch& touch)
{
    m_touchDragged = false;
    ScrollView::touchesBegan(touch);
}

void TextView::touchesMoved(const Touch& touch)
{
    ScrollView::touchesMoved(touch);
    m_touchDragged = m_touchDragged || isDragging();
}

void TextView::touchesEnded(const Touch& touch)
{
    ScrollView::touchesEnded(touch);
    if (!m_touchDragged)
        becomeFirstResponder();
}

void TextView::draw(Painter& painter)
{
    Rect area { textInset, textInset, std::max(0.0, bounds().width() - 2 * textInset), std::max(0.0, contentSize().height - 2 * textInset) };
    painter.drawText(m_text, area, textStyle());
}

void TextView::describe(ViewDescription& description) const
{
    ScrollView::describe(description);
    description.setText("text", m_text);
    if (m_editing)
        description.setFlag("editing", true);
}

} // namespace ui
