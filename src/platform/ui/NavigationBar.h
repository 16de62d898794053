#pragma once
// The bar at the top of a navigation stack: the top item's title (or title view), its left
// and right bar items, and a back button titled after the item beneath.
//
// Ownership: the bar shares the navigation items of the stack (their controllers own
// them) and owns the buttons it makes for them. The back action is set by the navigation
// controller that owns the bar.

#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class NavigationItem;

enum class BarStyle { Default, Black };

// What a navigation bar or a toolbar paints behind its items: the tint when one is set, else
// the style's own colour, slightly see-through for a translucent bar.
Color barBackgroundColor(BarStyle style, const std::optional<Color>& tint, bool translucent);
// Paints a navigation bar's or a toolbar's background in the system's look: flat in that
// colour with a hairline at `hairlineY`, or glossy, shaded from the tint (or the style's own
// colour).
void paintBarBackground(Painter& painter, const Rect& rect, BarStyle style, const std::optional<Color>& tint,
                        bool translucent, double hairlineY);
// The colour a glossy bar is shaded from.
Color glossyBarBase(BarStyle style, const std::optional<Color>& tint);

class NavigationBar : public View {
public:
    static constexpr double height = 44;

    NavigationBar();
    explicit NavigationBar(const Rect& frame);
    ~NavigationBar() override;

    std::string typeName() const override { return "NavigationBar"; }

    void setItems(std::vector<std::shared_ptr<NavigationItem>> items);
    const std::vector<std::shared_ptr<NavigationItem>>& items() const { return m_items; }
    NavigationItem* topItem() const;
    NavigationItem* backItem() const;

    BarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(BarStyle style);
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent);
    std::optional<Color> tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);

    // How far the bar's colour runs up above its top: behind the status bar, for a bar
    // placed just below it.
    double backgroundExtension() const { return m_backgroundExtension; }
    void setBackgroundExtension(double points);

    // What the back button does (the navigation controller pops).
    void setBackAction(std::function<void()> action) { m_backAction = std::move(action); }
    // The text the back button shows now, empty when there is none.
    std::string backButtonTitle() const;

    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    void observeItems();
    void forgetItems();
    void rebuild();

    std::vector<std::shared_ptr<NavigationItem>> m_items;
    std::vector<std::shared_ptr<View>> m_shown;
    BarStyle m_barStyle { BarStyle::Default };
    bool m_translucent { false };
    double m_backgroundExtension { 0 };
    std::optional<Color> m_tintColor;
    std::function<void()> m_backAction;
    std::shared_ptr<BarButtonItem> m_backButtonItem;
};

} // namespace ui
