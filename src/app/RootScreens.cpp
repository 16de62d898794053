#include "app/RootScreens.h"

#include "app/TessaroViewController.h"
#include "app/placeholders/PlaceholderBannerNetworks.h"
#include "screens/contacts/ContactDetailViewController.h"
#include "screens/favorites/FavoriteViewController.h"
#include "screens/groups/GroupScreens.h"
#include "screens/groups/GroupViewController.h"
#include "screens/memos/MemoViewController.h"
#include "screens/messaging/KeyBoardViewController.h"
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
        auto makeChooser = [groups = GroupScreens::standard()](GroupSelectViewControllerDelegate& delegate,
                                                              contactstore::RecordID contactID) {
            return groups.makeGroupSelectViewController(delegate, contactID, std::nullopt, true, std::nullopt);
        };
        return std::make_shared<KeyBoardViewController>(root, std::move(makeChooser));
    };
    screens.makeContactDetailViewController = [](const Contact& contact) {
        return ContactDetailViewController::create(contact);
    };
    screens.makeBannerNetworks = [] { return std::make_unique<PlaceholderBannerNetworks>(); };
    return screens;
}

} // namespace tessaro
