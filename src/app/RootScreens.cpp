#include "app/RootScreens.h"

#include "app/BannerChain.h"
#include "app/placeholders/KeypadPlaceholderViewController.h"
#include "screens/contacts/ContactDetailViewController.h"
#include "screens/favorites/FavoriteViewController.h"
#include "screens/groups/GroupViewController.h"
#include "screens/memos/MemoViewController.h"
#include "screens/settings/SettingsViewController.h"

namespace tessaro {

// Each screen still to come is made by a placeholder here; the issue that builds the screen
// replaces its line.
RootScreens RootScreens::standard()
{
    RootScreens screens;
    screens.makeFavoriteViewController = [] { return std::make_shared<FavoriteViewController>(); };
    screens.makeGroupViewController = [] { return GroupViewController::create(); };
    screens.makeMemoViewController = [] { return std::make_shared<MemoViewController>(); };
    screens.makeSettingsViewController = [] { return std::make_shared<SettingsViewController>(); };
    screens.makeKeyBoardViewController = [](TessaroViewController& root) {
        return std::make_shared<KeypadPlaceholderViewController>(root);
    };
    screens.makeContactDetailViewController = [](const Contact& contact) {
        return ContactDetailViewController::create(contact);
    };
    screens.makeBannerNetworks = [] { return std::make_unique<BannerChain>(); };
    return screens;
}

} // namespace tessaro
