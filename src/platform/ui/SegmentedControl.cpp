#include "platform/ui/SegmentedControl.h"

#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>

namespace ui {

SegmentedControl::SegmentedControl(std::vector<std::string> titles)
    : Control(Rect { 0, 0, 0, 29 })
{
    for (auto& title : titles)
        insertSegmentWithTitle(std::move(title), numberOfSegments());
    double width = 0;
    for (const auto& segment : m_segments)
        width += std::max(60.0, segment.title.size() * 8.0);
    setFrame({ 0, 0, width, 29 });
}

void SegmentedControl::insertSegment(Segment segment, int index)
{
    index = std::clamp(index, 0, numberOfSegments());
    segment.label = std::make_shared<Label>();
    segment.label->setTextAlignment(TextAlignment::Center);
    segment.label->setFont(Font::systemFontOfSize(13));
    segment.label->setText(segment.title);
    addSubview(segment.label);
    m_segments.insert(m_segments.begin() + index, std::move(segment));
    if (m_selected >= index)
        ++m_selected;
    setNeedsLayout();
}

void SegmentedControl::insertSegmentWithTitle(std::string title, int index, bool)
{
    insertSegment(Segment { std::move(title), nullptr, true, 0, nullptr }, index);
}

void SegmentedControl::insertSegmentWithImage(std::shared_ptr<const Image> image, int index, bool)
{
    insertSegment(Segment { {}, std::move(image), true, 0, nullptr }, index);
}

void SegmentedControl::removeSegmentAtIndex(int index, bool)
{
    if (!validIndex(index))
        return;
    m_segments[static_cast<std::size_t>(index)].label->removeFromSuperview();
    m_segments.erase(m_segments.begin() + index);
    if (m_selected == index)
        m_selected = noSegment;
    else if (m_selected > index)
        --m_selected;
    setNeedsLayout();
}

void SegmentedControl::removeAllSegments()
{
    while (numberOfSegments() > 0)
        removeSegmentAtIndex(numberOfSegments() - 1);
}

std::string SegmentedControl::titleForSegmentAtIndex(int index) const
{
    return validIndex(index) ? m_segments[static_cast<std::size_t>(index)].title : std::string();
}

void SegmentedControl::setTitle(std::string title, int index)
{
    if (!validIndex(index))
        return;
    auto& segment = m_segments[static_cast<std::size_t>(index)];
    segment.title = std::move(title);
    segment.label->setText(segment.title);
    setNeedsDisplay();
}

void SegmentedControl::setImage(std::shared_ptr<const Image> image, int index)
{
    if (!validIndex(index))
        return;
    m_segments[static_cast<std::size_t>(index)].image = std::move(image);
    setNeedsDisplay();
}

void SegmentedControl::setEnabledForSegmentAtIndex(bool enabled, int index)
{
    if (!validIndex(index))
        return;
    m_segments[static_cast<std::size_t>(index)].enabled = enabled;
    setNeedsLayout();
}

bool SegmentedControl::isEnabledForSegmentAtIndex(int index) const
{
    return validIndex(index) && m_segments[static_cast<std::size_t>(index)].enabled;
}

void SegmentedControl::setWidth(double width, int index)
{
    if (!validIndex(index))
        return;
    m_segments[static_cast<std::size_t>(index)].width = std::max(0.0, width);
    setNeedsLayout();
}

void SegmentedControl::setSelectedSegmentIndex(int index)
{
    if (index != noSegment && !validIndex(index))
        return;
    m_selected = index;
    setNeedsLayout();
}

void SegmentedControl::setSegmentedControlStyle(SegmentedControlStyle style)
{
    m_style = style;
    setNeedsDisplay();
}

void SegmentedControl::setTintColor(std::optional<Color> color)
{
    m_tintColor = color;
    setNeedsLayout();
}

Rect SegmentedControl::frameOfSegment(int index) const
{
    if (!validIndex(index))
        return {};
    double fixed = 0;
    int shared = 0;
    for (const auto& segment : m_segments) {
        if (segment.width > 0)
            fixed += segment.width;
        else
            ++shared;
    }
    double sharedWidth = shared > 0 ? std::max(0.0, bounds().width() - fixed) / shared : 0;
    double x = 0;
    for (int i = 0; i < index; ++i) {
        const auto& segment = m_segments[static_cast<std::size_t>(i)];
        x += segment.width > 0 ? segment.width : sharedWidth;
    }
    const auto& segment = m_segments[static_cast<std::size_t>(index)];
    return { x, 0, segment.width > 0 ? segment.width : sharedWidth, bounds().height() };
}

int SegmentedControl::segmentAtPoint(const Point& point) const
{
    if (point.y < 0 || point.y >= bounds().height())
        return noSegment;
    for (int i = 0; i < numberOfSegments(); ++i) {
        Rect frame = frameOfSegment(i);
        if (point.x >= frame.minX() && point.x < frame.maxX())
            return i;
    }
    return noSegment;
}

void SegmentedControl::touchesEnded(const Touch& touch)
{
    // Highlighted means the finger is still over the control.
    bool wasTracking = isHighlighted();
    Control::touchesEnded(touch);
    if (!wasTracking || !isEnabled())
        return;
    int index = segmentAtPoint(touch.locationIn(*this));
    if (index == noSegment || !isEnabledForSegmentAtIndex(index))
        return;
    if (m_momentary) {
        m_selected = noSegment;
        setNeedsLayout();
        sendActionsForControlEvents(ControlEvent::ValueChanged);
        return;
    }
    if (index == m_selected)
        return;
    m_selected = index;
    setNeedsLayout();
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void SegmentedControl::layoutSubviews()
{
    Color tint = m_tintColor.value_or(Color::systemBlueColor());
    for (int i = 0; i < numberOfSegments(); ++i) {
        auto& segment = m_segments[static_cast<std::size_t>(i)];
        segment.label->setFrame(frameOfSegment(i).insetBy(2, 0));
        Color text = i == m_selected ? Color::whiteColor() : tint;
        segment.label->setTextColor(segment.enabled ? text : Color::grayColor());
    }
}

void SegmentedControl::draw(Painter& painter)
{
    Color tint = m_tintColor.value_or(Color::systemBlueColor());
    for (int i = 0; i < numberOfSegments(); ++i) {
        Rect frame = frameOfSegment(i);
        if (i == m_selected)
            painter.fillRect(frame, tint);
        const auto& segment = m_segments[static_cast<std::size_t>(i)];
        if (segment.image && segment.title.empty())
            painter.drawImage(*segment.image, frame, ContentMode::Center);
        if (i > 0)
            painter.drawLine({ frame.minX(), 0 }, { frame.minX(), frame.height() }, tint, 1);
    }
    painter.strokeRect(bounds(), tint, 1, 4);
}

void SegmentedControl::describe(ViewDescription& description) const
{
    Control::describe(description);
    std::vector<std::string> titles;
    for (int i = 0; i < numberOfSegments(); ++i)
        titles.push_back(titleForSegmentAtIndex(i));
    description.setTexts("segments", titles);
    description.setInteger("selectedSegment", selectedSegmentIndex());
}

} // namespace ui
