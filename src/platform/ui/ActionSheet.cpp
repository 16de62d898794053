#include "platform/ui/ActionSheet.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr double margin = 8;
constexpr double buttonHeight = 44;
constexpr double cancelGap = 8;

} // namespace

ActionSheet::ActionSheet(std::string title, ActionSheetDelegate* delegate, std::string cancelButtonTitle,
                         std::string destructiveButtonTitle, std::vector<std::string> otherButtonTitles)
    : m_delegate(delegate)
{
    setTitle(std::move(title));
    if (!destructiveButtonTitle.empty())
        m_destructiveButtonIndex = addButtonWithTitle(std::move(destructiveButtonTitle));
    for (auto& other : otherButtonTitles)
        addButtonWithTitle(std::move(other));
    if (!cancelButtonTitle.empty())
        setCancelButtonIndex(addButtonWithTitle(std::move(cancelButtonTitle)));
}

void ActionSheet::showInView(View& view)
{
    View* over = view.window();
    present(over ? over : &view);
}

void ActionSheet::layoutBox(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel)
{
    Rect area = bounds();
    double width = area.width() - 2 * margin;
    titleLabel.setFont(Font::systemFontOfSize(13));
    titleLabel.setTextColor(Color::grayColor());
    double y = 0;
    if (!title().empty()) {
        double height = TextMeasurer::current().measure(title(), titleLabel.font(), width - 2 * margin, 0).height + 2 * margin;
        titleLabel.setFrame({ margin, 0, width - 2 * margin, height });
        y = height;
    } else {
        titleLabel.setFrame({});
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto& button = buttons[i];
        if (static_cast<int>(i) == m_destructiveButtonIndex)
            button->setTitleColor(Color::redColor());
        if (static_cast<int>(i) == cancelButtonIndex())
            continue;
        button->setFrame({ 0, y, width, buttonHeight });
        y += buttonHeight;
    }
    if (cancelButtonIndex() >= 0) {
        y += cancelGap;
        buttons[static_cast<std::size_t>(cancelButtonIndex())]->setFrame({ 0, y, width, buttonHeight });
        y += buttonHeight;
    }
    box.setBackgroundColor(Color::colorWithWhite(0.97));
    box.setCornerRadius(4);
    box.setFrame({ margin, area.height() - y - margin, width, y });
}

void ActionSheet::animateOut(View& box)
{
    box.setFrame(box.frame().offsetBy(0, box.frame().height() + margin));
}

void ActionSheet::notifyClicked(int index)
{
    if (m_delegate)
        m_delegate->clickedButtonAtIndex(*this, index);
}

void ActionSheet::notifyWillDismiss(int index)
{
    if (m_delegate)
        m_delegate->willDismissWithButtonIndex(*this, index);
}

void ActionSheet::notifyDidDismiss(int index)
{
    if (m_delegate)
        m_delegate->didDismissWithButtonIndex(*this, index);
}

} // namespace ui
