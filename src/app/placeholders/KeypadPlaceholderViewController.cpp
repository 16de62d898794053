#include "app/placeholders/KeypadPlaceholderViewController.h"

#include "app/RootGeometry.h"
#include "app/placeholders/PlaceholderPage.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Button.h"

namespace tessaro {

KeypadPlaceholderViewController::KeypadPlaceholderViewController(KeypadHost& host)
    : m_host(&host)
{
}

void KeypadPlaceholderViewController::loadView()
{
    auto page = PlaceholderPage::make(RootGeometry::keypadHiddenFrame(), "placeholder.keypad");
    auto close = ui::Button::buttonWithType(ui::ButtonType::RoundedRect);
    close->setTitle(foundation::localized("CancelButtonTitle"));
    close->setFrame({ 110, 200, 100, 44 });
    close->setAccessibilityIdentifier("keypad.close");
    close->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { m_host->removeKeyboard(); });
    page->addSubview(close);
    setView(page);
}

} // namespace tessaro
