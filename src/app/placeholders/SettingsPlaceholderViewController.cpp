#include "app/placeholders/SettingsPlaceholderViewController.h"

#include "app/placeholders/PlaceholderPage.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Screen.h"

namespace tessaro {

SettingsPlaceholderViewController::SettingsPlaceholderViewController()
{
    setTitle(foundation::localized("SettingsBarTitle"));
}

void SettingsPlaceholderViewController::loadView()
{
    setView(PlaceholderPage::make(ui::Screen::mainScreen().applicationFrame(), "placeholder.settings"));
}

} // namespace tessaro
