#include "platform/ui/TextField.h"

#include "platform/ui/Painter.h"
#include "platform/ui/TextEditing.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

namespace ui {

namespace {

std::string bullets(const std::string& text)
{
    std::string hidden;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            hidden += "\u2022";
    }
    return hidden;
}

} // namespace

TextField::TextField()
    : TextField(Rect {})
{
}

TextField::TextField(const Rect& frame)
    : Control(frame)
{
    setBackgroundColor(std::nullopt);
}

TextField::~TextField() = default;

std::string TextField::displayText() const
{
    if (m_text.empty())
        return m_placeholder;
    return m_traits.secureTextEntry ? bullets(m_text) : m_text;
}

void TextField::setText(std::string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    contentChanged();
}

void TextField::setPlaceholder(std::string placeholder)
{
    m_placeholder = std::move(placeholder);
    contentChanged();
}

void TextField::setFont(const Font& font)
{
    m_font = font;
    contentChanged();
}

void TextField::setTextColor(const Color& color)
{
    m_textColor = color;
    contentChanged();
}

void TextField::setTextAlignment(TextAlignment alignment)
{
    m_textAlignment = alignment;
    contentChanged();
}

void TextField::setContentVerticalAlignment(ContentVerticalAlignment alignment)
{
    m_verticalAlignment = alignment;
    contentChanged();
}

void TextField::setBorderStyle(TextFieldBorderStyle style)
{
    m_borderStyle = style;
    if (style == TextFieldBorderStyle::RoundedRect) {
        if (!backgroundColor())
            setBackgroundColor(Color::whiteColor());
        // The fill follows the rounded border, leaving no square corners outside it.
        if (cornerRadius() <= 0)
            setCornerRadius(roundedCornerRadius);
    }
    contentChanged();
}

void TextField::setLeftView(std::shared_ptr<View> view)
{
    if (m_leftView)
        m_leftView->removeFromSuperview();
    m_leftView = std::move(view);
    if (m_leftView) {
        m_leftView->setUserInteractionEnabled(false);
        addSubview(m_leftView);
    }
    setNeedsLayout();
    contentChanged();
}

void TextField::layoutSubviews()
{
    if (!m_leftView)
        return;
    Rect frame = m_leftView->frame();
    double inset = m_borderStyle == TextFieldBorderStyle::None ? 0 : 7;
    m_leftView->setFrame({ inset, (bounds().height() - frame.height()) / 2, frame.width(), frame.height() });
}

void TextField::setClearButtonMode(TextFieldViewMode mode)
{
    m_clearButtonMode = mode;
    contentChanged();
}

void TextField::setSecureTextEntry(bool secure)
{
    m_traits.secureTextEntry = secure;
    contentChanged();
}

bool TextField::becomeFirstResponder()
{
    return m_focus.become(*this, [this] { return !m_delegate || m_delegate->textFieldShouldBeginEditing(*this); });
}

bool TextField::resignFirstResponder()
{
    return m_focus.resign(*this, [this] { return !m_delegate || m_delegate->textFieldShouldEndEditing(*this); });
}

void TextField::didMoveToWindow()
{
    m_focus.arrived(*this);
}

void TextField::didBecomeFirstResponder()
{
    m_editing = true;
    if (m_clearsOnBeginEditing)
        setText({});
    contentChanged();
    auto keep = weak_from_this().lock();
    if (m_delegate)
        m_delegate->textFieldDidBeginEditing(*this);
    sendActionsForControlEvents(ControlEvent::EditingDidBegin);
}

void TextField::didResignFirstResponder()
{
    if (!m_editing)
        return;
    m_editing = false;
    contentChanged();
    auto keep = weak_from_this().lock();
    if (m_delegate)
        m_delegate->textFieldDidEndEditing(*this);
    sendActionsForControlEvents(ControlEvent::EditingDidEnd);
}

bool TextField::applyUserEdit(const TextRange& range, const std::string& replacement)
{
    if (m_delegate && !m_delegate->shouldChangeCharactersInRange(*this, range, replacement))
        return false;
    std::string changed = textediting::applyEdit(m_text, range, replacement);
    if (changed == m_text)
        return true;
    m_text = std::move(changed);
    contentChanged();
    sendActionsForControlEvents(ControlEvent::EditingChanged);
    return true;
}

void TextField::pressReturn()
{
    auto keep = weak_from_this().lock();
    if (m_delegate)
        m_delegate->textFieldShouldReturn(*this);
    sendActionsForControlEvents(ControlEvent::EditingDidEndOnExit);
}

void TextField::replaceTextFromInput(const std::string& text)
{
    // A one-line field holds no line breaks; an editor that sends one means the return key.
    std::string line = text;
    bool returned = false;
    if (auto newline = line.find('\n'); newline != std::string::npos) {
        line.erase(newline);
        returned = true;
    }
    auto edit = textediting::difference(m_text, line);
    if (edit.range.length > 0 || !edit.replacement.empty())
        applyUserEdit(edit.range, edit.replacement);
    if (returned)
        pressReturn();
}

void TextField::insertText(const std::string& text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        auto newline = text.find('\n', start);
        std::string part = text.substr(start, newline == std::string::npos ? std::string::npos : newline - start);
        if (!part.empty())
            applyUserEdit({ m_text.size(), 0 }, part);
        if (newline == std::string::npos)
            break;
        pressReturn();
        start = newline + 1;
    }
}

void TextField::deleteBackward()
{
    std::size_t length = textediting::lastCharacterLength(m_text);
    if (length > 0)
        applyUserEdit({ m_text.size() - length, length }, {});
}

bool TextField::showsClearButton() const
{
    if (m_text.empty())
        return false;
    switch (m_clearButtonMode) {
    case TextFieldViewMode::Never:
        return false;
    case TextFieldViewMode::WhileEditing:
        return m_editing;
    case TextFieldViewMode::UnlessEditing:
        return !m_editing;
    case TextFieldViewMode::Always:
        return true;
    }
    return false;
}

Rect TextField::clearButtonRect() const
{
    return { bounds().width() - clearButtonWidth - 4, (bounds().height() - clearButtonWidth) / 2, clearButtonWidth, clearButtonWidth };
}

Rect TextField::textRect() const
{
    double inset = m_borderStyle == TextFieldBorderStyle::None ? 0 : 7;
    double right = showsClearButton() ? clearButtonWidth + 8 : inset;
    if (m_leftView)
        inset += m_leftView->frame().width() + 4;
    return { inset, 0, std::max(0.0, bounds().width() - inset - right), bounds().height() };
}

void TextField::touchesEnded(const Touch& touch)
{
    bool inside = bounds().contains(touch.locationIn(*this));
    Control::touchesEnded(touch);
    if (!inside || !isEnabled())
        return;
    if (showsClearButton() && clearButtonRect().insetBy(-8, -8).contains(touch.locationIn(*this))) {
        if (!m_delegate || m_delegate->textFieldShouldClear(*this))
            applyUserEdit({ 0, m_text.size() }, {});
    }
    becomeFirstResponder();
}

void TextField::draw(Painter& painter)
{
    Rect area = bounds();
    switch (m_borderStyle) {
    case TextFieldBorderStyle::None:
        break;
    case TextFieldBorderStyle::Line:
    case TextFieldBorderStyle::Bezel:
        painter.strokeRect(area, Color::darkGrayColor(), 1);
        break;
    case TextFieldBorderStyle::RoundedRect:
        painter.strokeRect(area, Color::lightGrayColor(), 0.5, cornerRadius());
        break;
    }
    TextStyle style;
    style.font = m_font;
    style.alignment = m_textAlignment;
    style.centerVertically = m_verticalAlignment == ContentVerticalAlignment::Center;
    Rect text = textRect();
    if (m_text.empty()) {
        style.color = Color::colorWithWhite(0.7);
        painter.drawText(m_placeholder, text, style);
    } else {
        style.color = m_textColor;
        painter.drawText(m_traits.secureTextEntry ? bullets(m_text) : m_text, text, style);
    }
    if (showsClearButton()) {
        Rect button = clearButtonRect();
        painter.fillEllipse(button.insetBy(5, 5), Color::lightGrayColor());
        Point c = button.center();
        painter.drawLine({ c.x - 3, c.y - 3 }, { c.x + 3, c.y + 3 }, Color::whiteColor(), 1.5);
        painter.drawLine({ c.x - 3, c.y + 3 }, { c.x + 3, c.y - 3 }, Color::whiteColor(), 1.5);
    }
    if (m_editing) {
        // The caret after the text, so one can see which field types.
        double typed = TextMeasurer::current().measure(displayText() == m_placeholder ? std::string() : displayText(), m_font).width;
        double x = std::min(text.maxX(), text.x() + typed + 1);
        painter.drawLine({ x, area.midY() - m_font.pointSize * 0.6 }, { x, area.midY() + m_font.pointSize * 0.6 },
                         Color::systemBlueColor(), 2);
    }
}

void TextField::describe(ViewDescription& description) const
{
    Control::describe(description);
    // A secret is never written out, only whether there is one.
    description.setText("text", isSecureTextEntry() ? std::string(m_text.empty() ? "" : "\u2022\u2022\u2022") : m_text);
    description.setText("placeholder", m_placeholder);
    if (m_editing)
        description.setFlag("editing", true);
}

} // namespace ui
