#include "platform/ui/PickerView.h"

#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// The label a row gets when the delegate gives titles rather than views.
class PickerRowLabel final : public Label {
public:
    PickerRowLabel()
    {
        setFont(Font::systemFontOfSize(20));
        setTextAlignment(TextAlignment::Center);
        setBackgroundColor(std::nullopt);
    }
    std::string typeName() const override { return "PickerRow"; }
};

} // namespace

PickerView::PickerView()
    : PickerView(Rect { 0, 0, naturalWidth, naturalHeight })
{
}

PickerView::PickerView(const Rect& frame)
    : View(frame)
{
    setBackgroundColor(Color::whiteColor());
    setClipsToBounds(true);
}

PickerView::~PickerView() = default;

void PickerView::setDataSource(PickerViewDataSource* dataSource)
{
    m_dataSource = dataSource;
    m_loaded = false;
    setNeedsLayout();
}

void PickerView::setDelegate(PickerViewDelegate* delegate)
{
    m_delegate = delegate;
    m_loaded = false;
    setNeedsLayout();
}

void PickerView::setShowsSelectionIndicator(bool shows)
{
    m_showsSelectionIndicator = shows;
    setNeedsDisplay();
}

Size PickerView::sizeThatFits(const Size&) const
{
    return { naturalWidth, naturalHeight };
}

void PickerView::ensureLoaded()
{
    if (!m_loaded)
        reloadAllComponents();
}

int PickerView::numberOfRowsInComponent(int component) const
{
    if (!hasComponent(component))
        return 0;
    return m_components[static_cast<std::size_t>(component)].rows;
}

Size PickerView::rowSizeForComponent(int component) const
{
    if (!hasComponent(component))
        return {};
    const auto& c = m_components[static_cast<std::size_t>(component)];
    return { c.width, c.rowHeight };
}

void PickerView::reloadAllComponents()
{
    for (auto& component : m_components) {
        if (component.wheel)
            component.wheel->removeFromSuperview();
    }
    std::vector<int> previous;
    for (const auto& component : m_components)
        previous.push_back(component.selected);
    int count = m_dataSource ? std::max(0, m_dataSource->numberOfComponentsInPickerView(*this)) : 0;
    m_components.assign(static_cast<std::size_t>(count), Component {});
    m_loaded = true;
    for (int c = 0; c < count; ++c) {
        auto& component = m_components[static_cast<std::size_t>(c)];
        component.selected = c < static_cast<int>(previous.size()) ? previous[static_cast<std::size_t>(c)] : 0;
        component.wheel = std::make_shared<View>();
        component.wheel->setClipsToBounds(true);
        component.wheel->setBackgroundColor(std::nullopt);
        addSubview(component.wheel);
        loadComponent(c);
    }
    layoutSubviews();
}

void PickerView::reloadComponent(int component)
{
    ensureLoaded();
    if (!hasComponent(component))
        return;
    loadComponent(component);
    layoutSubviews();
}

void PickerView::loadComponent(int index)
{
    auto& component = m_components[static_cast<std::size_t>(index)];
    component.rows = std::max(0, m_dataSource->numberOfRowsInComponent(*this, index));
    double height = m_delegate ? m_delegate->rowHeightForComponent(*this, index) : 0;
    component.rowHeight = std::isfinite(height) && height > 0 ? height : defaultRowHeight;
    for (auto& [row, view] : component.shown)
        view->removeFromSuperview();
    component.shown.clear();
    component.spare.clear();
    component.dragOffset = 0;
    component.selected = component.rows == 0 ? -1 : std::clamp(component.selected, 0, component.rows - 1);
}

Rect PickerView::frameOfComponent(int component) const
{
    if (!hasComponent(component))
        return {};
    return m_components[static_cast<std::size_t>(component)].wheel->frame();
}

void PickerView::layoutSubviews()
{
    if (!m_loaded) {
        reloadAllComponents();
        return;
    }
    // Components take their asked width; the rest is shared by those that asked none.
    double total = bounds().width() - 20;
    double asked = 0;
    int open = 0;
    for (int c = 0; c < numberOfComponents(); ++c) {
        double width = m_delegate ? m_delegate->widthForComponent(*this, c) : 0;
        width = std::isfinite(width) && width > 0 ? width : 0;
        m_components[static_cast<std::size_t>(c)].width = width;
        asked += width;
        open += width == 0 ? 1 : 0;
    }
    double share = open > 0 ? std::max(0.0, total - asked) / open : 0;
    double used = 0;
    for (auto& component : m_components) {
        if (component.width == 0)
            component.width = share;
        used += component.width;
    }
    double x = std::max(0.0, (bounds().width() - used) / 2);
    for (int c = 0; c < numberOfComponents(); ++c) {
        auto& component = m_components[static_cast<std::size_t>(c)];
        component.wheel->setFrame({ x, 0, component.width, bounds().height() });
        x += component.width;
        layoutComponent(c);
    }
}

void PickerView::layoutComponent(int index)
{
    auto& component = m_components[static_cast<std::size_t>(index)];
    double height = bounds().height();
    double middle = (height - component.rowHeight) / 2;
    // Rows in sight: the chosen one in the middle band, its neighbours above and below.
    std::vector<std::pair<int, double>> wanted;
    if (component.rows > 0) {
        double centre = component.selected - component.dragOffset / component.rowHeight;
        int reach = static_cast<int>(std::ceil(height / component.rowHeight / 2)) + 1;
        int first = std::max(0, static_cast<int>(std::floor(centre)) - reach);
        int last = std::min(component.rows - 1, static_cast<int>(std::ceil(centre)) + reach);
        for (int row = first; row <= last; ++row) {
            double y = middle + (row - centre) * component.rowHeight;
            if (y + component.rowHeight > 0 && y < height)
                wanted.emplace_back(row, y);
        }
    }
    // Rows gone out of sight first, so that their views can serve the rows coming in.
    for (auto it = component.shown.begin(); it != component.shown.end();) {
        bool stays = std::any_of(wanted.begin(), wanted.end(), [&](const auto& w) { return w.first == it->first; });
        if (stays) {
            ++it;
            continue;
        }
        it->second->removeFromSuperview();
        if (component.spare.size() < 8)
            component.spare.push_back(it->second);
        it = component.shown.erase(it);
    }
    std::map<int, std::shared_ptr<View>> shown;
    for (const auto& [row, y] : wanted) {
        std::shared_ptr<View> view;
        if (auto found = component.shown.find(row); found != component.shown.end()) {
            view = found->second;
        } else {
            std::shared_ptr<View> reusing;
            if (!component.spare.empty()) {
                reusing = std::move(component.spare.back());
                component.spare.pop_back();
            }
            view = m_delegate ? m_delegate->viewForRow(*this, row, index, reusing) : nullptr;
            if (!view) {
                auto label = std::dynamic_pointer_cast<PickerRowLabel>(reusing);
                if (!label)
                    label = std::make_shared<PickerRowLabel>();
                label->setText(m_delegate ? m_delegate->titleForRow(*this, row, index) : std::string());
                label->setFrame({ 0, 0, component.width, component.rowHeight });
                view = label;
            }
        }
        Rect frame = view->frame();
        double width = frame.width() > 0 ? std::min(frame.width(), component.width) : component.width;
        double rowHeight = frame.height() > 0 ? std::min(frame.height(), component.rowHeight) : component.rowHeight;
        view->setFrame({ (component.width - width) / 2, y + (component.rowHeight - rowHeight) / 2, width, rowHeight });
        if (view->superview() != component.wheel.get())
            component.wheel->addSubview(view);
        shown[row] = view;
    }
    component.shown = std::move(shown);
}

int PickerView::selectedRowInComponent(int component) const
{
    if (!hasComponent(component))
        return -1;
    return m_components[static_cast<std::size_t>(component)].selected;
}

PickerView::Component* PickerView::componentHoldingRow(int row, int component)
{
    ensureLoaded();
    if (!hasComponent(component))
        return nullptr;
    auto& c = m_components[static_cast<std::size_t>(component)];
    return row >= 0 && row < c.rows ? &c : nullptr;
}

void PickerView::settleOnRow(Component& c, int row, int component)
{
    c.selected = row;
    c.dragOffset = 0;
    layoutComponent(component);
    setNeedsDisplay();
}

void PickerView::selectRow(int row, int component, bool)
{
    if (auto* c = componentHoldingRow(row, component))
        settleOnRow(*c, row, component);
}

void PickerView::userSelectRow(int row, int component)
{
    auto* c = componentHoldingRow(row, component);
    if (!c)
        return;
    bool changed = row != c->selected;
    settleOnRow(*c, row, component);
    // The handset reports a row the wheel comes to rest on, even the one it started from
    // after a drag; a plain touch on the chosen row reports nothing.
    if ((changed || m_touchDragged) && m_delegate)
        m_delegate->didSelectRow(*this, row, component);
}

std::shared_ptr<View> PickerView::viewForRow(int row, int component) const
{
    if (!hasComponent(component))
        return nullptr;
    const auto& shown = m_components[static_cast<std::size_t>(component)].shown;
    auto found = shown.find(row);
    return found == shown.end() ? nullptr : found->second;
}

int PickerView::componentAt(const Point& point) const
{
    for (int c = 0; c < numberOfComponents(); ++c) {
        Rect frame = frameOfComponent(c);
        if (point.x >= frame.minX() && point.x < frame.maxX())
            return c;
    }
    return -1;
}

int PickerView::rowAt(int component, const Point& point) const
{
    const auto& c = m_components[static_cast<std::size_t>(component)];
    if (c.rows == 0)
        return -1;
    double middle = (bounds().height() - c.rowHeight) / 2;
    int offset = static_cast<int>(std::floor((point.y - middle) / c.rowHeight));
    return std::clamp(c.selected + offset, 0, c.rows - 1);
}

void PickerView::touchesBegan(const Touch& touch)
{
    ensureLoaded();
    m_touchStart = touch.locationIn(*this);
    m_touchComponent = componentAt(m_touchStart);
    m_touchDragged = false;
}

void PickerView::touchesMoved(const Touch& touch)
{
    if (m_touchComponent < 0)
        return;
    Point location = touch.locationIn(*this);
    auto& c = m_components[static_cast<std::size_t>(m_touchComponent)];
    double dy = location.y - m_touchStart.y;
    if (!m_touchDragged && std::abs(dy) < 8)
        return;
    m_touchDragged = true;
    // The wheel stops at its first and last rows.
    double most = c.selected * c.rowHeight;
    double least = -(c.rows - 1 - c.selected) * c.rowHeight;
    c.dragOffset = std::clamp(dy, least, most);
    layoutComponent(m_touchComponent);
}

void PickerView::touchesEnded(const Touch& touch)
{
    int component = std::exchange(m_touchComponent, -1);
    if (component < 0)
        return;
    auto& c = m_components[static_cast<std::size_t>(component)];
    int row = -1;
    if (m_touchDragged) {
        row = c.rows == 0 ? -1 : std::clamp(static_cast<int>(std::lround(c.selected - c.dragOffset / c.rowHeight)), 0, c.rows - 1);
        c.dragOffset = 0;
    } else {
        row = rowAt(component, touch.locationIn(*this));
    }
    if (row >= 0)
        userSelectRow(row, component);
    else
        layoutComponent(component);
    m_touchDragged = false;
}

void PickerView::touchesCancelled(const Touch&)
{
    int component = std::exchange(m_touchComponent, -1);
    m_touchDragged = false;
    if (component < 0)
        return;
    m_components[static_cast<std::size_t>(component)].dragOffset = 0;
    layoutComponent(component);
}

void PickerView::draw(Painter& painter)
{
    if (!m_showsSelectionIndicator || m_components.empty())
        return;
    double rowHeight = m_components.front().rowHeight;
    Rect band { 0, (bounds().height() - rowHeight) / 2, bounds().width(), rowHeight };
    painter.fillRect(band, Color::systemBlueColor().withAlpha(0.08));
    painter.drawLine({ 0, band.minY() }, { band.width(), band.minY() }, Color::lightGrayColor(), 0.5);
    painter.drawLine({ 0, band.maxY() }, { band.width(), band.maxY() }, Color::lightGrayColor(), 0.5);
}

void PickerView::describe(ViewDescription& description) const
{
    View::describe(description);
    std::vector<int> rows;
    for (int component = 0; component < numberOfComponents(); ++component)
        rows.push_back(selectedRowInComponent(component));
    description.setIntegers("selectedRows", rows);
}

} // namespace ui
