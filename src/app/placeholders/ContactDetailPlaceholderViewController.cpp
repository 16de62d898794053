#include "app/placeholders/ContactDetailPlaceholderViewController.h"

#include "app/RootGeometry.h"
#include "app/placeholders/PlaceholderPage.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace tessaro {

ContactDetailPlaceholderViewController::ContactDetailPlaceholderViewController(Contact contact)
    : m_contact(std::move(contact))
{
}

void ContactDetailPlaceholderViewController::loadView()
{
    auto page = PlaceholderPage::make({ 0, RootGeometry::detailStartY(), 320, RootGeometry::busyOverlayFrame().height() },
                                      "placeholder.detail");
    auto name = std::make_shared<ui::Label>(ui::Rect { 10, 80, 300, 44 });
    name->setText(m_contact.contactName());
    name->setFont(ui::Font::boldSystemFontOfSize(20));
    name->setTextAlignment(ui::TextAlignment::Center);
    name->setAccessibilityIdentifier("detail.name");
    page->addSubview(name);

    auto close = ui::Button::buttonWithType(ui::ButtonType::RoundedRect);
    close->setTitle(foundation::localized("CancelButtonTitle"));
    close->setFrame({ 110, 200, 100, 44 });
    close->setAccessibilityIdentifier("detail.cancel");
    close->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { cancelDetail(); });
    page->addSubview(close);
    setView(page);
}

} // namespace tessaro
