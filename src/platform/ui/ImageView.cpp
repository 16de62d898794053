#include "platform/ui/ImageView.h"

#include "platform/ui/Painter.h"
#include "platform/ui/ViewDescription.h"

namespace ui {

ImageView::ImageView()
    : ImageView(Rect {})
{
}

ImageView::ImageView(const Rect& frame)
    : View(frame)
{
    setUserInteractionEnabled(false);
}

ImageView::ImageView(std::shared_ptr<const Image> image)
    : ImageView(Rect { Point {}, image ? image->size() : Size {} })
{
    m_image = std::move(image);
}

void ImageView::setImage(std::shared_ptr<const Image> image)
{
    m_image = std::move(image);
    contentChanged();
}

void ImageView::setHighlightedImage(std::shared_ptr<const Image> image)
{
    m_highlightedImage = std::move(image);
    contentChanged();
}

void ImageView::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    contentChanged();
}

Size ImageView::sizeThatFits(const Size& size) const
{
    if (m_image)
        return m_image->size();
    return View::sizeThatFits(size);
}

void ImageView::setTintColor(std::optional<Color> tint)
{
    m_tintColor = tint;
    contentChanged();
}

void ImageView::draw(Painter& painter)
{
    const auto& shown = m_highlighted && m_highlightedImage ? m_highlightedImage : m_image;
    if (!shown)
        return;
    if (m_tintColor)
        painter.drawTintedImage(*shown, bounds(), contentMode(), *m_tintColor);
    else
        painter.drawImage(*shown, bounds(), contentMode());
}

// A picture is described by its name, never as a text: it shows none.
void ImageView::describe(ViewDescription& description) const
{
    if (m_image)
        description.setText("image", m_image->name());
    describeIdentity(description);
}

} // namespace ui
