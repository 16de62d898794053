#pragma once
// A bar of bar button items, laid out from left to right: fixed spaces keep their width,
// flexible spaces share what is left.
//
// Ownership: the toolbar shares its items (the screen that made them keeps them too) and
// owns the buttons it makes for them.

#include "platform/ui/NavigationBar.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace ui {

class BarButtonItem;

class Toolbar : public View {
public:
    static constexpr double height = 44;

    Toolbar();
    explicit Toolbar(const Rect& frame);
    ~Toolbar() override;

    std::string typeName() const override { return "Toolbar"; }

    const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);

    BarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(BarStyle style);
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent);
    std::optional<Color> tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);

    void layoutSubviews() override;
    // Paints the bar's own background; a see-through toolbar overrides this to paint nothing.
    void draw(Painter& painter) override;

private:
    void forgetItems();

    std::vector<std::shared_ptr<BarButtonItem>> m_items;
    std::vector<std::shared_ptr<View>> m_shown;
    BarStyle m_barStyle { BarStyle::Default };
    bool m_translucent { false };
    std::optional<Color> m_tintColor;
};

} // namespace ui
