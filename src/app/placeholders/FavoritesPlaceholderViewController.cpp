#include "app/placeholders/FavoritesPlaceholderViewController.h"

#include "app/placeholders/PlaceholderPage.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Screen.h"

namespace tessaro {

FavoritesPlaceholderViewController::FavoritesPlaceholderViewController()
{
    setTitle(foundation::localized("FavoriteTabBarTitle"));
}

void FavoritesPlaceholderViewController::loadView()
{
    setView(PlaceholderPage::make(ui::Screen::mainScreen().applicationFrame(), "placeholder.favorites"));
}

} // namespace tessaro
