#include "platform/ui/AlertView.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double margin = 16;
constexpr double buttonHeight = 44;

} // namespace

AlertView::AlertView(std::string title, std::string message, AlertViewDelegate* delegate, std::string cancelButtonTitle,
                     std::vector<std::string> otherButtonTitles)
    : m_messageLabel(std::make_shared<Label>())
    , m_delegate(delegate)
{
    setTitle(std::move(title));
    m_messageLabel->setFont(Font::systemFontOfSize(14));
    m_messageLabel->setTextAlignment(TextAlignment::Center);
    m_messageLabel->setNumberOfLines(0);
    m_messageLabel->setLineBreakMode(LineBreakMode::WordWrap);
    box().addSubview(m_messageLabel);
    setMessage(std::move(message));
    if (!cancelButtonTitle.empty()) {
        addButtonWithTitle(std::move(cancelButtonTitle));
        setCancelButtonIndex(0);
    }
    for (auto& other : otherButtonTitles)
        addButtonWithTitle(std::move(other));
}

void AlertView::setMessage(std::string message)
{
    m_message = std::move(message);
    m_messageLabel->setText(m_message);
    setNeedsLayout();
}

void AlertView::show()
{
    present(nullptr);
}

void AlertView::layoutBox(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel)
{
    const auto& measurer = TextMeasurer::current();
    double textWidth = boxWidth - 2 * margin;
    titleLabel.setFont(Font::boldSystemFontOfSize(17));
    double y = margin;
    double titleHeight = title().empty() ? 0 : measurer.measure(title(), titleLabel.font(), textWidth, 0).height;
    titleLabel.setFrame({ margin, y, textWidth, titleHeight });
    y += titleHeight + (titleHeight > 0 ? 4 : 0);
    double messageHeight = m_message.empty() ? 0 : measurer.measure(m_message, m_messageLabel->font(), textWidth, 0).height;
    m_messageLabel->setFrame({ margin, y, textWidth, messageHeight });
    y += messageHeight + margin;

    // Two buttons share one row, cancel on the left; otherwise one row each, cancel last.
    if (buttons.size() == 2) {
        double half = boxWidth / 2;
        int left = cancelButtonIndex() >= 0 ? cancelButtonIndex() : 0;
        buttons[static_cast<std::size_t>(left)]->setFrame({ 0, y, half, buttonHeight });
        buttons[static_cast<std::size_t>(1 - left)]->setFrame({ half, y, half, buttonHeight });
        y += buttonHeight;
    } else {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (static_cast<int>(i) == cancelButtonIndex())
                continue;
            buttons[i]->setFrame({ 0, y, boxWidth, buttonHeight });
            y += buttonHeight;
        }
        if (cancelButtonIndex() >= 0) {
            buttons[static_cast<std::size_t>(cancelButtonIndex())]->setFrame({ 0, y, boxWidth, buttonHeight });
            y += buttonHeight;
        }
    }
    Rect area = bounds();
    box.setBackgroundColor(Color::colorWithWhite(0.97));
    box.setCornerRadius(8);
    box.setClipsToBounds(true);
    box.setFrame({ std::round((area.width() - boxWidth) / 2), std::round((area.height() - y) / 2), boxWidth, y });
}

void AlertView::notifyClicked(int index)
{
    if (m_delegate)
        m_delegate->clickedButtonAtIndex(*this, index);
}

void AlertView::notifyWillDismiss(int index)
{
    if (m_delegate)
        m_delegate->willDismissWithButtonIndex(*this, index);
}

void AlertView::notifyDidDismiss(int index)
{
    if (m_delegate)
        m_delegate->didDismissWithButtonIndex(*this, index);
}

void AlertView::describe(ViewDescription& description) const
{
    ButtonPanel::describe(description);
    description.setText("message", m_message);
}

} // namespace ui
