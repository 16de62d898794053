#include "platform/ui/ButtonPanel.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ViewDescription.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <utility>

namespace ui {

namespace {

std::vector<std::shared_ptr<ButtonPanel>>& shownPanels()
{
    static std::vector<std::shared_ptr<ButtonPanel>> panels;
    return panels;
}

} // namespace

ButtonPanel::ButtonPanel()
    : m_box(std::make_shared<View>())
    , m_titleLabel(std::make_shared<Label>())
{
    setBackgroundColor(Color::blackColor().withAlpha(0.4));
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setLineBreakMode(LineBreakMode::WordWrap);
    addSubview(m_box);
    m_box->addSubview(m_titleLabel);
}

ButtonPanel::~ButtonPanel() = default;

void ButtonPanel::setTitle(std::string title)
{
    m_title = std::move(title);
    m_titleLabel->setText(m_title);
    setNeedsLayout();
}

int ButtonPanel::addButtonWithTitle(std::string title)
{
    m_buttonTitles.push_back(std::move(title));
    rebuildButtons();
    return numberOfButtons() - 1;
}

void ButtonPanel::insertButtonAt(int index, std::string title)
{
    index = std::clamp(index, 0, numberOfButtons());
    m_buttonTitles.insert(m_buttonTitles.begin() + index, std::move(title));
    rebuildButtons();
}

std::string ButtonPanel::buttonTitleAtIndex(int index) const
{
    if (index < 0 || index >= numberOfButtons())
        return {};
    return m_buttonTitles[static_cast<std::size_t>(index)];
}

void ButtonPanel::setCancelButtonIndex(int index)
{
    m_cancelButtonIndex = index >= 0 && index < numberOfButtons() ? index : -1;
    setNeedsLayout();
}

int ButtonPanel::firstOtherButtonIndex() const
{
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != m_cancelButtonIndex)
            return i;
    }
    return -1;
}

void ButtonPanel::rebuildButtons()
{
    for (auto& button : m_buttons)
        button->removeFromSuperview();
    m_buttons.clear();
    for (int i = 0; i < numberOfButtons(); ++i) {
        auto button = std::make_shared<Button>(ButtonType::System);
        button->setTitle(m_buttonTitles[static_cast<std::size_t>(i)]);
        button->titleLabel().setFont(Font::systemFontOfSize(17));
        button->addAction(ControlEvent::TouchUpInside, [this, i](Control&) { tapButtonAtIndex(i); });
        m_box->addSubview(button);
        m_buttons.push_back(std::move(button));
    }
    setNeedsLayout();
}

void ButtonPanel::layoutSubviews()
{
    for (int i = 0; i < numberOfButtons(); ++i) {
        auto& button = m_buttons[static_cast<std::size_t>(i)];
        button->titleLabel().setFont(i == m_cancelButtonIndex ? Font::boldSystemFontOfSize(17) : Font::systemFontOfSize(17));
    }
    layoutBox(*m_box, m_buttons, *m_titleLabel);
}

void ButtonPanel::present(View* over)
{
    if (m_visible)
        return;
    auto self = std::static_pointer_cast<ButtonPanel>(shared_from_this());
    if (!over)
        over = Application::shared().keyWindow();
    Rect area = over ? over->bounds() : Screen::mainScreen().bounds();
    setFrame(area);
    setNeedsLayout();
    if (over)
        over->addSubview(self);
    m_visible = true;
    shownPanels().push_back(self);
    layoutIfNeeded();
}

void ButtonPanel::tapButtonAtIndex(int index)
{
    if (!m_visible || index < 0 || index >= numberOfButtons())
        return;
    auto keep = shared_from_this();
    notifyClicked(index);
    dismissWithClickedButtonIndex(index, true);
}

void ButtonPanel::dismissWithClickedButtonIndex(int index, bool animated)
{
    if (!m_visible)
        return;
    m_visible = false;
    auto self = std::static_pointer_cast<ButtonPanel>(shared_from_this());
    auto& panels = shownPanels();
    panels.erase(std::remove(panels.begin(), panels.end(), self), panels.end());
    notifyWillDismiss(index);
    auto finish = [self, index](bool) {
        self->removeFromSuperview();
        self->notifyDidDismiss(index);
    };
    if (animated) {
        View::animate(dismissDuration(), [&] {
            setAlpha(0);
            animateOut(*m_box);
        }, finish);
    } else {
        finish(true);
    }
}

ButtonPanel* ButtonPanel::topmostVisible()
{
    auto& panels = shownPanels();
    return panels.empty() ? nullptr : panels.back().get();
}

std::vector<std::shared_ptr<ButtonPanel>> ButtonPanel::visiblePanels()
{
    return shownPanels();
}

void ButtonPanel::discardAll()
{
    auto panels = std::exchange(shownPanels(), {});
    for (auto& panel : panels) {
        panel->m_visible = false;
        panel->removeFromSuperview();
    }
}

void ButtonPanel::describe(ViewDescription& description) const
{
    View::describe(description);
    std::vector<std::string> titles;
    for (int i = 0; i < numberOfButtons(); ++i)
        titles.push_back(buttonTitleAtIndex(i));
    description.setTexts("buttons", titles);
    description.setInteger("cancelButtonIndex", cancelButtonIndex());
}

} // namespace ui
