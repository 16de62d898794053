#include "app/placeholders/GroupsPlaceholderViewController.h"

#include "app/placeholders/PlaceholderPage.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Screen.h"

namespace tessaro {

GroupsPlaceholderViewController::GroupsPlaceholderViewController()
{
    setTitle(foundation::localized("GroupTabBarTitle"));
}

void GroupsPlaceholderViewController::loadView()
{
    setView(PlaceholderPage::make(ui::Screen::mainScreen().applicationFrame(), "placeholder.groups"));
}

} // namespace tessaro
