#pragma once
// A push button: a title and/or an image per state, over an optional background image,
// sending TouchUpInside when tapped.
//
// Ownership: the button owns its title label and image view (subviews that take no
// touches, so the button itself receives them).

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

#include <map>

namespace ui {

class ImageView;
class Label;

enum class ButtonType { Custom, System, RoundedRect, DetailDisclosure, InfoLight, InfoDark, ContactAdd };

enum class ContentHorizontalAlignment { Center, Left, Right, Fill };

class Button : public Control {
public:
    explicit Button(ButtonType type = ButtonType::Custom);
    Button(ButtonType type, const Rect& frame);
    static std::shared_ptr<Button> buttonWithType(ButtonType type);

    std::string typeName() const override { return "Button"; }
    std::string displayText() const override { return currentTitle(); }

    ButtonType buttonType() const { return m_type; }

    // Per state, falling back to the Normal state's value when none is set for the state.
    void setTitle(std::string title, ControlState state = ControlState::Normal);
    std::string titleForState(ControlState state) const;
    std::string currentTitle() const;
    void setTitleColor(const Color& color, ControlState state = ControlState::Normal);
    Color titleColorForState(ControlState state) const;
    void setImage(std::shared_ptr<const Image> image, ControlState state = ControlState::Normal);
    std::shared_ptr<const Image> imageForState(ControlState state) const;
    std::shared_ptr<const Image> currentImage() const;
    void setBackgroundImage(std::shared_ptr<const Image> image, ControlState state = ControlState::Normal);
    std::shared_ptr<const Image> backgroundImageForState(ControlState state) const;

    // The label that shows the title (set its font here) and the view showing the image.
    Label& titleLabel();
    ImageView& imageView();

    EdgeInsets contentEdgeInsets() const { return m_contentEdgeInsets; }
    void setContentEdgeInsets(const EdgeInsets& insets);
    EdgeInsets titleEdgeInsets() const { return m_titleEdgeInsets; }
    void setTitleEdgeInsets(const EdgeInsets& insets);
    EdgeInsets imageEdgeInsets() const { return m_imageEdgeInsets; }
    void setImageEdgeInsets(const EdgeInsets& insets);
    ContentHorizontalAlignment contentHorizontalAlignment() const { return m_horizontalAlignment; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment alignment);
    // Darkens the image while highlighted (on by default).
    void setAdjustsImageWhenHighlighted(bool adjusts) { m_adjustsImageWhenHighlighted = adjusts; }

    void setEnabled(bool enabled) override;
    void setSelected(bool selected) override;
    void setHighlighted(bool highlighted) override;

    Size sizeThatFits(const Size& size) const override;
    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    template<typename T>
    T lookup(const std::map<std::uint32_t, T>& values, ControlState state, T fallback) const;
    void refreshContent();

    ButtonType m_type { ButtonType::Custom };
    std::map<std::uint32_t, std::string> m_titles;
    std::map<std::uint32_t, Color> m_titleColors;
    std::map<std::uint32_t, std::shared_ptr<const Image>> m_images;
    std::map<std::uint32_t, std::shared_ptr<const Image>> m_backgroundImages;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<ImageView> m_imageView;
    EdgeInsets m_contentEdgeInsets;
    EdgeInsets m_titleEdgeInsets;
    EdgeInsets m_imageEdgeInsets;
    ContentHorizontalAlignment m_horizontalAlignment { ContentHorizontalAlignment::Center };
    bool m_adjustsImageWhenHighlighted { true };
};

} // namespace ui
