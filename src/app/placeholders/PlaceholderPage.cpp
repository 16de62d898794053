#include "app/placeholders/PlaceholderPage.h"

namespace tessaro {

std::shared_ptr<ui::View> PlaceholderPage::make(const ui::Rect& frame, const std::string& identifier)
{
    auto page = std::make_shared<ui::View>(frame);
    page->setBackgroundColor(ui::Color::whiteColor());
    page->setAccessibilityIdentifier(identifier);
    page->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    return page;
}

} // namespace tessaro
