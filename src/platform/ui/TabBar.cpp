#include "platform/ui/TabBar.h"

#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/SystemLook.h"
#include "platform/ui/TabBarItem.h"

namespace ui {

namespace {

// One tab: its picture over its title. The text is the item's, so a tap by text finds it.
class TabButton final : public Control {
public:
    TabButton(const std::shared_ptr<TabBarItem>& item, bool selected)
        : m_image(std::make_shared<ImageView>())
        , m_title(std::make_shared<Label>())
    {
        m_image->setImage(item->displayImage());
        m_image->setContentMode(ContentMode::Center);
        m_title->setText(item->displayTitle());
        m_title->setFont(Font::systemFontOfSize(10));
        m_title->setTextAlignment(TextAlignment::Center);
        // On the glossy black bar the chosen tab is white, the others grey.
        Color tint = isGlossyLook() ? (selected ? Color::whiteColor() : Color::colorWithWhite(0.6))
                                    : (selected ? Color::systemBlueColor() : Color::grayColor());
        m_title->setTextColor(tint);
        m_image->setTintColor(tint);
        setSelected(selected);
        setEnabled(item->isEnabled());
        addSubview(m_image);
        addSubview(m_title);
    }

    std::string typeName() const override { return "TabBarButton"; }
    std::string displayText() const override { return m_title->text(); }

    void layoutSubviews() override
    {
        Rect b = bounds();
        m_image->setFrame({ 0, 3, b.width(), 30 });
        m_title->setFrame({ 0, 34, b.width(), 13 });
    }

private:
    std::shared_ptr<ImageView> m_image;
    std::shared_ptr<Label> m_title;
};

} // namespace

TabBar::TabBar()
    : TabBar(Rect { 0, 0, 320, height })
{
}

TabBar::TabBar(const Rect& frame)
    : View(frame)
{
    setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleTopMargin);
}

TabBar::~TabBar()
{
    forgetItems();
}

void TabBar::forgetItems()
{
    for (auto& item : m_items)
        item->removeObserver(this);
}

void TabBar::setItems(std::vector<std::shared_ptr<TabBarItem>> items)
{
    forgetItems();
    std::erase(items, nullptr);
    m_items = std::move(items);
    for (auto& item : m_items)
        item->setObserver(this, [this] { setNeedsLayout(); });
    if (m_selectedIndex >= static_cast<int>(m_items.size()))
        m_selectedIndex = m_items.empty() ? -1 : 0;
    setNeedsLayout();
}

void TabBar::setSelectedIndex(int index)
{
    if (index < -1 || index >= static_cast<int>(m_items.size()))
        return;
    m_selectedIndex = index;
    setNeedsLayout();
}

void TabBar::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    setNeedsDisplay();
}

void TabBar::layoutSubviews()
{
    for (auto& button : m_buttons)
        button->removeFromSuperview();
    m_buttons.clear();
    if (m_items.empty())
        return;
    double width = bounds().width() / double(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        auto button = std::make_shared<TabButton>(m_items[i], static_cast<int>(i) == m_selectedIndex);
        button->setFrame({ width * double(i), 0, width, bounds().height() });
        button->setTag(m_items[i]->tag());
        int index = static_cast<int>(i);
        button->addAction(ControlEvent::TouchUpInside, [this, index](Control&) {
            // A copy: the handler may rebuild the bar and with it this button.
            auto handler = m_selectionHandler;
            if (handler)
                handler(index);
        });
        addSubview(button);
        m_buttons.push_back(button);
    }
}

void TabBar::draw(Painter& painter)
{
    if (isGlossyLook()) {
        // The glossy tab bar is black, shaded lighter at the top.
        fillVerticalGradient(painter, bounds(), Color::colorWithWhite(0.22), Color::colorWithWhite(0.02));
        painter.drawLine({ 0, 0.25 }, { bounds().width(), 0.25 }, Color::colorWithWhite(0.35), 0.5);
        return;
    }
    Color background = Color::rgb255(247, 247, 247);
    painter.fillRect(bounds(), m_translucent ? background.withAlpha(0.9) : background);
    painter.drawLine({ 0, 0.25 }, { bounds().width(), 0.25 }, Color::colorWithWhite(0.7), 0.5);
}

} // namespace ui
