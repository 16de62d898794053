#pragma once
// The button a navigation bar or a toolbar shows for one bar button item: it reads its
// title, image and state from the item and triggers the item when tapped.
//
// Ownership: the bar owns the button; the button holds its item weakly, so an item dropped
// by its screen is simply no longer triggered.

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"

#include <memory>
#include <optional>

namespace ui {

class BarItemButton final : public Button {
public:
    // Side padding around the title or image.
    static constexpr double padding = 10;
    static constexpr double height = 30;
    // The room the back button's point or chevron takes before its title.
    static constexpr double backPointWidth = 10;

    explicit BarItemButton(const std::shared_ptr<BarButtonItem>& item);
    // The button a bar shows for the item: in the bar's tint unless the item has its own,
    // and with the bar as the item's observer, so a change of the item refreshes the button
    // and lays the bar out again. The bar removes itself as observer when it lets go.
    static std::shared_ptr<BarItemButton> makeForBar(const std::shared_ptr<BarButtonItem>& item, View& bar,
                                                     const std::optional<Color>& barTint);

    std::string typeName() const override { return "BarButtonItem"; }
    std::shared_ptr<BarButtonItem> item() const { return m_item.lock(); }
    // Takes the item's current title, image, enabled state and tint.
    void refresh();
    // The width the item wants in a bar.
    double preferredWidth() const;
    // A navigation bar's back button points back: a chevron before its title in the flat
    // look, a bezel with a pointed left end in the glossy one.
    bool pointsBack() const { return m_pointsBack; }
    void setPointsBack(bool pointsBack);
    void draw(Painter& painter) override;

private:
    Font titleFont() const;

    std::weak_ptr<BarButtonItem> m_item;
    bool m_pointsBack { false };
    // What the glossy look shades the bezel from: the bar's own colour.
    Color m_bezelColor { Color::rgb255(109, 132, 162) };
};

} // namespace ui
