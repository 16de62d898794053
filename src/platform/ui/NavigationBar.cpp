#include "platform/ui/NavigationBar.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/BarItemButton.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Painter.h"
#include "platform/ui/SystemLook.h"
#include "platform/ui/SystemWords.h"
#include "platform/ui/TextMeasurer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {

namespace {

constexpr double edgeMargin = 5;
constexpr double itemGap = 5;

// Where an item's view shows something, along the bar. A clear custom view (a see-through
// toolbar holding buttons) leaves the part its buttons do not take to the title.
std::pair<double, double> shownSpan(View& view)
{
    Rect frame = view.frame();
    auto background = view.backgroundColor();
    if (background && !background->isClear())
        return { frame.minX(), frame.maxX() };
    view.layoutIfNeeded();
    double low = frame.width();
    double high = 0;
    for (const auto& shown : view.subviews()) {
        if (shown->isHidden())
            continue;
        low = std::min(low, shown->frame().minX());
        high = std::max(high, shown->frame().maxX());
    }
    if (low >= high)
        return { frame.minX(), frame.maxX() };
    return { frame.minX() + std::max(0.0, low), frame.minX() + std::min(frame.width(), high) };
}

} // namespace

Color barBackgroundColor(BarStyle style, const std::optional<Color>& tint, bool translucent)
{
    Color background = tint.value_or(style == BarStyle::Black ? Color::colorWithWhite(0.1) : Color::rgb255(247, 247, 247));
    return translucent ? background.withAlpha(0.9) : background;
}

Color glossyBarBase(BarStyle style, const std::optional<Color>& tint)
{
    if (tint)
        return *tint;
    return style == BarStyle::Black ? Color::colorWithWhite(0.08) : glossyBarColor();
}

void paintBarBackground(Painter& painter, const Rect& rect, BarStyle style, const std::optional<Color>& tint,
                        bool translucent, double hairlineY)
{
    if (isGlossyLook()) {
        Color base = glossyBarBase(style, tint);
        painter.save();
        if (translucent)
            painter.multiplyOpacity(0.85);
        paintGlossyBar(painter, rect, base);
        painter.restore();
        return;
    }
    painter.fillRect(rect, barBackgroundColor(style, tint, translucent));
    painter.drawLine({ rect.minX(), hairlineY }, { rect.maxX(), hairlineY }, Color::colorWithWhite(0.7), 0.5);
}

NavigationBar::NavigationBar()
    : NavigationBar(Rect { 0, 0, 320, height })
{
}

NavigationBar::NavigationBar(const Rect& frame)
    : View(frame)
{
    setAutoresizingMask(AutoresizingMask::FlexibleWidth);
}

NavigationBar::~NavigationBar()
{
    forgetItems();
}

void NavigationBar::forgetItems()
{
    for (auto& item : m_items) {
        item->removeObserver(this);
        for (auto& bar : item->leftBarButtonItems())
            bar->removeObserver(this);
        for (auto& bar : item->rightBarButtonItems())
            bar->removeObserver(this);
        if (item->backBarButtonItem())
            item->backBarButtonItem()->removeObserver(this);
    }
    if (m_backButtonItem)
        m_backButtonItem->removeObserver(this);
}

void NavigationBar::observeItems()
{
    for (auto& item : m_items)
        item->setObserver(this, [this] { setNeedsLayout(); });
}

void NavigationBar::setItems(std::vector<std::shared_ptr<NavigationItem>> items)
{
    forgetItems();
    std::erase(items, nullptr);
    m_items = std::move(items);
    observeItems();
    setNeedsLayout();
}

NavigationItem* NavigationBar::topItem() const
{
    return m_items.empty() ? nullptr : m_items.back().get();
}

NavigationItem* NavigationBar::backItem() const
{
    return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2].get();
}

void NavigationBar::setBarStyle(BarStyle style)
{
    m_barStyle = style;
    setNeedsLayout();
}

void NavigationBar::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    setNeedsDisplay();
}

void NavigationBar::setBackgroundExtension(double points)
{
    m_backgroundExtension = std::max(0.0, points);
    setNeedsDisplay();
}

void NavigationBar::setTintColor(std::optional<Color> color)
{
    m_tintColor = color;
    setNeedsLayout();
}

std::string NavigationBar::backButtonTitle() const
{
    auto* top = topItem();
    auto* back = backItem();
    if (!top || !back || top->hidesBackButton() || !top->leftBarButtonItems().empty())
        return {};
    if (back->backBarButtonItem())
        return back->backBarButtonItem()->displayTitle();
    if (!back->title().empty())
        return back->title();
    return systemWord(SystemWord::Back);
}

void NavigationBar::layoutSubviews()
{
    rebuild();
}

void NavigationBar::rebuild()
{
    for (auto& view : m_shown)
        view->removeFromSuperview();
    m_shown.clear();
    if (m_backButtonItem)
        m_backButtonItem->removeObserver(this);
    m_backButtonItem.reset();

    auto* top = topItem();
    if (!top)
        return;

    // The glossy bars carry a larger white title; the flat ones a black title, white on black.
    bool glossy = isGlossyLook();
    Color titleColor = glossy || m_barStyle == BarStyle::Black ? Color::whiteColor() : Color::blackColor();
    Font titleFont = Font::boldSystemFontOfSize(glossy ? 20 : 17);
    // The title may use what lies between the parts of the items that show something.
    double titleLeft = edgeMargin;
    double titleRight = bounds().width() - edgeMargin;
    auto place = [&](const std::shared_ptr<BarButtonItem>& item, double x, bool fromRight, bool pointsBack = false) -> double {
        std::shared_ptr<View> view;
        double width = 0;
        if (item->customView()) {
            view = item->customView();
            width = view->frame().width();
            Rect frame { fromRight ? x - width : x, (height - view->frame().height()) / 2, width, view->frame().height() };
            view->setFrame(frame);
        } else {
            auto button = BarItemButton::makeForBar(item, *this, m_tintColor);
            button->setPointsBack(pointsBack);
            width = button->preferredWidth();
            button->setFrame({ fromRight ? x - width : x, (height - BarItemButton::height) / 2, width, BarItemButton::height });
            view = button;
        }
        addSubview(view);
        m_shown.push_back(view);
        auto [shownLeft, shownRight] = item->customView() ? shownSpan(*view) : std::pair { view->frame().minX(), view->frame().maxX() };
        if (fromRight)
            titleRight = std::min(titleRight, shownLeft - itemGap);
        else
            titleLeft = std::max(titleLeft, shownRight + itemGap);
        return width;
    };

    double left = edgeMargin;
    if (!top->leftBarButtonItems().empty()) {
        for (auto& item : top->leftBarButtonItems())
            left += place(item, left, false) + itemGap;
    } else if (auto title = backButtonTitle(); !title.empty()) {
        auto* back = backItem();
        auto action = [this](BarButtonItem&) {
            if (m_backAction)
                m_backAction();
        };
        if (back->backBarButtonItem()) {
            m_backButtonItem = std::make_shared<BarButtonItem>(back->backBarButtonItem()->displayTitle(), BarButtonItemStyle::Bordered, action);
            m_backButtonItem->setImage(back->backBarButtonItem()->image());
        } else {
            m_backButtonItem = std::make_shared<BarButtonItem>(title, BarButtonItemStyle::Bordered, action);
        }
        m_backButtonItem->setAccessibilityIdentifier("back");
        left += place(m_backButtonItem, left, false, true) + itemGap;
    }

    double right = bounds().width() - edgeMargin;
    for (auto& item : top->rightBarButtonItems())
        right -= place(item, right, true) + itemGap;

    std::shared_ptr<View> titleView = top->titleView();
    if (!titleView) {
        auto label = std::make_shared<Label>();
        label->setText(top->title());
        label->setFont(titleFont);
        label->setTextColor(titleColor);
        label->setTextAlignment(TextAlignment::Center);
        titleView = label;
        // A point of slack: the measured width rounded down would cost the last letter.
        double width = std::ceil(TextMeasurer::current().measure(top->title(), label->font()).width) + 1;
        // Centred on the bar when the items leave room, else between them.
        double available = std::max(0.0, titleRight - titleLeft);
        width = std::min(width, available);
        double x = std::clamp((bounds().width() - width) / 2, titleLeft, std::max(titleLeft, titleRight - width));
        label->setFrame({ x, 0, width, height });
    } else {
        Rect frame = titleView->frame();
        frame.origin = { (bounds().width() - frame.width()) / 2, (height - frame.height()) / 2 };
        titleView->setFrame(frame);
    }
    addSubview(titleView);
    m_shown.push_back(titleView);
}

void NavigationBar::draw(Painter& painter)
{
    Rect behind { 0, -m_backgroundExtension, bounds().width(), bounds().height() + m_backgroundExtension };
    paintBarBackground(painter, behind, m_barStyle, m_tintColor, m_translucent, bounds().height() - 0.25);
}

} // namespace ui
