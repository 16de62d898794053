#include "platform/ui/Button.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/SystemLook.h"
#include "platform/ui/TextMeasurer.h"

#include <algorithm>

namespace ui {

namespace {

std::uint32_t key(ControlState state)
{
    return static_cast<std::uint32_t>(state);
}

} // namespace

Button::Button(ButtonType type)
    : Button(type, Rect {})
{
}

Button::Button(ButtonType type, const Rect& frame)
    : Control(frame)
    , m_type(type)
    , m_titleLabel(std::make_shared<Label>())
    , m_imageView(std::make_shared<ImageView>())
{
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setLineBreakMode(LineBreakMode::TruncateMiddle);
    bool plainLook = type == ButtonType::Custom;
    m_titleLabel->setFont(plainLook ? Font::boldSystemFontOfSize(15) : Font::systemFontOfSize(15));
    m_titleColors[key(ControlState::Normal)] = plainLook ? Color::whiteColor() : Color::systemBlueColor();
    m_titleColors[key(ControlState::Highlighted)] = plainLook ? Color::whiteColor() : Color::systemBlueColor().withAlpha(0.3);
    m_titleColors[key(ControlState::Disabled)] = plainLook ? Color::whiteColor().withAlpha(0.5) : Color::grayColor();
    if (type == ButtonType::DetailDisclosure || type == ButtonType::InfoLight || type == ButtonType::InfoDark
        || type == ButtonType::ContactAdd)
        setFrame({ frame.origin, { 22, 22 } });
    addSubview(m_imageView);
    addSubview(m_titleLabel);
    refreshContent();
}

std::shared_ptr<Button> Button::buttonWithType(ButtonType type)
{
    return std::make_shared<Button>(type);
}

template<typename T>
T Button::lookup(const std::map<std::uint32_t, T>& values, ControlState state, T fallback) const
{
    if (auto exact = values.find(key(state)); exact != values.end())
        return exact->second;
    auto bits = key(state);
    for (auto single : { ControlState::Highlighted, ControlState::Selected, ControlState::Disabled }) {
        if (bits & key(single)) {
            if (auto found = values.find(key(single)); found != values.end())
                return found->second;
        }
    }
    if (auto normal = values.find(key(ControlState::Normal)); normal != values.end())
        return normal->second;
    return fallback;
}

void Button::setTitle(std::string title, ControlState state)
{
    m_titles[key(state)] = std::move(title);
    refreshContent();
}

std::string Button::titleForState(ControlState state) const
{
    return lookup<std::string>(m_titles, state, {});
}

std::string Button::currentTitle() const
{
    return titleForState(state());
}

void Button::setTitleColor(const Color& color, ControlState state)
{
    m_titleColors[key(state)] = color;
    refreshContent();
}

Color Button::titleColorForState(ControlState state) const
{
    return lookup<Color>(m_titleColors, state, Color::whiteColor());
}

void Button::setImage(std::shared_ptr<const Image> image, ControlState state)
{
    m_images[key(state)] = std::move(image);
    refreshContent();
}

std::shared_ptr<const Image> Button::imageForState(ControlState state) const
{
    return lookup<std::shared_ptr<const Image>>(m_images, state, nullptr);
}

std::shared_ptr<const Image> Button::currentImage() const
{
    return imageForState(state());
}

void Button::setBackgroundImage(std::shared_ptr<const Image> image, ControlState state)
{
    m_backgroundImages[key(state)] = std::move(image);
    refreshContent();
}

std::shared_ptr<const Image> Button::backgroundImageForState(ControlState state) const
{
    return lookup<std::shared_ptr<const Image>>(m_backgroundImages, state, nullptr);
}

Label& Button::titleLabel()
{
    return *m_titleLabel;
}

ImageView& Button::imageView()
{
    return *m_imageView;
}

void Button::setContentEdgeInsets(const EdgeInsets& insets)
{
    m_contentEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setTitleEdgeInsets(const EdgeInsets& insets)
{
    m_titleEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setImageEdgeInsets(const EdgeInsets& insets)
{
    m_imageEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setContentHorizontalAlignment(ContentHorizontalAlignment alignment)
{
    m_horizontalAlignment = alignment;
    setNeedsLayout();
}

void Button::setEnabled(bool enabled)
{
    Control::setEnabled(enabled);
    refreshContent();
}

void Button::setSelected(bool selected)
{
    Control::setSelected(selected);
    refreshContent();
}

void Button::setHighlighted(bool highlighted)
{
    Control::setHighlighted(highlighted);
    refreshContent();
}

void Button::refreshContent()
{
    m_titleLabel->setText(currentTitle());
    m_titleLabel->setTextColor(titleColorForState(state()));
    m_imageView->setImage(currentImage());
    m_imageView->setAlpha(isHighlighted() && m_adjustsImageWhenHighlighted && m_type == ButtonType::Custom ? 0.6 : 1.0);
    setNeedsLayout();
}

Size Button::sizeThatFits(const Size&) const
{
    Size image = currentImage() ? currentImage()->size() : Size {};
    auto background = backgroundImageForState(state());
    Size title = currentTitle().empty() ? Size {} : TextMeasurer::current().measure(currentTitle(), m_titleLabel->font());
    double width = image.width + title.width + m_contentEdgeInsets.left + m_contentEdgeInsets.right;
    double height = std::max(image.height, title.height) + m_contentEdgeInsets.top + m_contentEdgeInsets.bottom;
    if (background) {
        width = std::max(width, background->size().width);
        height = std::max(height, background->size().height);
    }
    return { width, height };
}

void Button::layoutSubviews()
{
    Rect content = bounds().inset(m_contentEdgeInsets);
    Size imageSize = currentImage() ? currentImage()->size() : Size {};
    std::string title = currentTitle();
    Size titleSize = title.empty() ? Size {} : TextMeasurer::current().measure(title, m_titleLabel->font());
    titleSize.width = std::min(titleSize.width, std::max(0.0, content.width() - imageSize.width));
    titleSize.height = std::min(titleSize.height, content.height());
    double total = imageSize.width + titleSize.width;
    double x = content.x();
    switch (m_horizontalAlignment) {
    case ContentHorizontalAlignment::Center:
    case ContentHorizontalAlignment::Fill:
        x = content.x() + (content.width() - total) / 2;
        break;
    case ContentHorizontalAlignment::Left:
        break;
    case ContentHorizontalAlignment::Right:
        x = content.maxX() - total;
        break;
    }
    Rect imageFrame { x, content.y() + (content.height() - imageSize.height) / 2, imageSize.width, imageSize.height };
    Rect titleFrame { x + imageSize.width, content.y() + (content.height() - titleSize.height) / 2, titleSize.width, titleSize.height };
    m_imageView->setFrame(imageFrame.inset(m_imageEdgeInsets));
    m_titleLabel->setFrame(titleFrame.inset(m_titleEdgeInsets));
}

void Button::draw(Painter& painter)
{
    if (auto background = backgroundImageForState(state())) {
        painter.drawImage(*background, bounds(), ContentMode::ScaleToFill);
        return;
    }
    if (m_type == ButtonType::RoundedRect && isGlossyLook()) {
        painter.fillRect(bounds(), isHighlighted() ? Color::systemBlueColor() : Color::whiteColor(), 8);
        painter.strokeRect(bounds(), Color::grayColor(), 1, 8);
    }
    if (m_type == ButtonType::DetailDisclosure || m_type == ButtonType::InfoLight || m_type == ButtonType::InfoDark
        || m_type == ButtonType::ContactAdd) {
        Color tint = m_type == ButtonType::InfoLight ? Color::whiteColor() : Color::systemBlueColor();
        Rect circle = bounds().insetBy(1, 1);
        painter.strokeRect(circle, tint, 1.5, circle.width() / 2);
        TextStyle glyph;
        glyph.font = Font::boldSystemFontOfSize(14);
        glyph.color = tint;
        glyph.alignment = TextAlignment::Center;
        painter.drawText(m_type == ButtonType::ContactAdd ? "+" : "i", bounds(), glyph);
    }
}

} // namespace ui
