#pragma once
// A row of segments of which one is selected. A touch on another segment selects it and
// sends ValueChanged; setting the selection in code sends nothing. A momentary control
// sends ValueChanged for every touched segment and keeps none selected.

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class Label;

enum class SegmentedControlStyle { Plain, Bordered, Bar };

class SegmentedControl : public Control {
public:
    static constexpr int noSegment = -1;

    explicit SegmentedControl(std::vector<std::string> titles = {});

    std::string typeName() const override { return "SegmentedControl"; }
    void describe(ViewDescription& description) const override;

    int numberOfSegments() const { return static_cast<int>(m_segments.size()); }
    void insertSegmentWithTitle(std::string title, int index, bool animated = false);
    void insertSegmentWithImage(std::shared_ptr<const Image> image, int index, bool animated = false);
    void removeSegmentAtIndex(int index, bool animated = false);
    void removeAllSegments();
    std::string titleForSegmentAtIndex(int index) const;
    void setTitle(std::string title, int index);
    void setImage(std::shared_ptr<const Image> image, int index);
    void setEnabledForSegmentAtIndex(bool enabled, int index);
    bool isEnabledForSegmentAtIndex(int index) const;
    // A fixed width for a segment; 0 shares the width evenly.
    void setWidth(double width, int index);

    int selectedSegmentIndex() const { return m_selected; }
    // noSegment or an index; others are ignored.
    void setSelectedSegmentIndex(int index);

    bool isMomentary() const { return m_momentary; }
    void setMomentary(bool momentary) { m_momentary = momentary; }
    SegmentedControlStyle segmentedControlStyle() const { return m_style; }
    void setSegmentedControlStyle(SegmentedControlStyle style);
    std::optional<Color> tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);

    // The segment under a point of the control's coordinates, or noSegment.
    int segmentAtPoint(const Point& point) const;
    Rect frameOfSegment(int index) const;

    void touchesEnded(const Touch& touch) override;
    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    struct Segment {
        std::string title;
        std::shared_ptr<const Image> image;
        bool enabled { true };
        double width { 0 };
        std::shared_ptr<Label> label;
    };
    void insertSegment(Segment segment, int index);
    bool validIndex(int index) const { return index >= 0 && index < numberOfSegments(); }

    std::vector<Segment> m_segments;
    int m_selected { noSegment };
    bool m_momentary { false };
    SegmentedControlStyle m_style { SegmentedControlStyle::Plain };
    std::optional<Color> m_tintColor;
};

} // namespace ui
