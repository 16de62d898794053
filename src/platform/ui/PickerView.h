#pragma once
// A spinning list (a wheel per component) of which one row per component is chosen. The
// chosen row sits in the middle band; a touch on another row in sight, or a drag that
// comes to rest on it, chooses it and tells the delegate. Choosing in code tells nobody.
//
// Rows are the delegate's views (viewForRow, which may reuse the view it is given) or,
// failing those, labels with the delegate's titles. Only rows in sight are built.
//
// Ownership: data source and delegate are plain pointers that their owner clears (or
// outlives the picker); the picker owns the row views it shows.

#include "platform/ui/View.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui {

class PickerView;

class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponentsInPickerView(PickerView&) = 0;
    virtual int numberOfRowsInComponent(PickerView&, int component) = 0;
};

class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    // 0 shares the picker's width evenly among the components.
    virtual double widthForComponent(PickerView&, int /*component*/) { return 0; }
    // 0 means the standard row height.
    virtual double rowHeightForComponent(PickerView&, int /*component*/) { return 0; }
    virtual std::string titleForRow(PickerView&, int /*row*/, int /*component*/) { return {}; }
    // A view for the row; `reusing` is a view of a row that went out of sight, or null.
    virtual std::shared_ptr<View> viewForRow(PickerView&, int /*row*/, int /*component*/, std::shared_ptr<View> /*reusing*/)
    {
        return nullptr;
    }
    virtual void didSelectRow(PickerView&, int /*row*/, int /*component*/) { }
};

class PickerView : public View {
public:
    static constexpr double defaultRowHeight = 32;
    static constexpr double naturalHeight = 216;
    static constexpr double naturalWidth = 320;

    PickerView();
    explicit PickerView(const Rect& frame);
    ~PickerView() override;

    std::string typeName() const override { return "PickerView"; }
    void describe(ViewDescription& description) const override;

    PickerViewDataSource* dataSource() const { return m_dataSource; }
    void setDataSource(PickerViewDataSource* dataSource);
    PickerViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(PickerViewDelegate* delegate);

    bool showsSelectionIndicator() const { return m_showsSelectionIndicator; }
    void setShowsSelectionIndicator(bool shows);

    // As last loaded.
    int numberOfComponents() const { return static_cast<int>(m_components.size()); }
    int numberOfRowsInComponent(int component) const;
    Size rowSizeForComponent(int component) const;

    void reloadAllComponents();
    void reloadComponent(int component);

    // -1 when the component has no rows (or does not exist).
    int selectedRowInComponent(int component) const;
    // Rows outside the component are ignored.
    void selectRow(int row, int component, bool animated);

    // The view shown for the row, or null when it is out of sight.
    std::shared_ptr<View> viewForRow(int row, int component) const;
    // The frame of a component's wheel in the picker's coordinates.
    Rect frameOfComponent(int component) const;

    // What a touch on the row does: chooses it and tells the delegate.
    void userSelectRow(int row, int component);

    Size sizeThatFits(const Size& size) const override;
    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;
    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    struct Component {
        int rows { 0 };
        int selected { -1 };
        double rowHeight { defaultRowHeight };
        double width { 0 };
        // How far the wheel is turned while a finger drags it, in points.
        double dragOffset { 0 };
        std::shared_ptr<View> wheel;
        std::map<int, std::shared_ptr<View>> shown;
        std::vector<std::shared_ptr<View>> spare;
    };

    void ensureLoaded();
    bool hasComponent(int component) const { return component >= 0 && component < numberOfComponents(); }
    // The loaded component when it has the row, else null.
    Component* componentHoldingRow(int row, int component);
    void settleOnRow(Component& c, int row, int component);
    void loadComponent(int component);
    void layoutComponent(int component);
    int componentAt(const Point& point) const;
    int rowAt(int component, const Point& point) const;

    PickerViewDataSource* m_dataSource { nullptr };
    PickerViewDelegate* m_delegate { nullptr };
    bool m_showsSelectionIndicator { false };
    bool m_loaded { false };
    std::vector<Component> m_components;

    int m_touchComponent { -1 };
    Point m_touchStart;
    bool m_touchDragged { false };
};

} // namespace ui
