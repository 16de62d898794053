#pragma once
// Shows one image (or its highlighted variant) by the view's content mode. Takes no
// touches, as on the handset.

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

#include <optional>

namespace ui {

class ImageView : public View {
public:
    ImageView();
    explicit ImageView(const Rect& frame);
    // Sized to the image.
    explicit ImageView(std::shared_ptr<const Image> image);

    std::string typeName() const override { return "ImageView"; }
    void describe(ViewDescription& description) const override;
    std::string displayText() const override { return m_image ? m_image->name() : std::string(); }

    const std::shared_ptr<const Image>& image() const { return m_image; }
    void setImage(std::shared_ptr<const Image> image);
    const std::shared_ptr<const Image>& highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(std::shared_ptr<const Image> image);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    // When set, the picture is drawn as a template in this colour.
    const std::optional<Color>& tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> tint);

    Size sizeThatFits(const Size& size) const override;
    void draw(Painter& painter) override;

private:
    std::shared_ptr<const Image> m_image;
    std::shared_ptr<const Image> m_highlightedImage;
    bool m_highlighted { false };
    std::optional<Color> m_tintColor;
};

} // namespace ui
