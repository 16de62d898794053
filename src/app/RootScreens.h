#pragma once
// The screens the root controller is made of, chosen in one place: the four tab screens,
// the keypad and contact-detail overlays, and the banner networks of the slot.
// RootScreens::standard() is the application's own choice (see RootScreens.cpp, where each
// is made); tests hand the root screens of their own to watch what it does with them.

#include "app/BannerNetworks.h"
#include "app/CommonViewController.h"
#include "app/ContactDetailScreen.h"
#include "app/KeypadScreen.h"

#include <functional>
#include <memory>

namespace tessaro {

class Contact;
class TessaroViewController;

struct RootScreens {
    std::function<std::shared_ptr<CommonViewController>()> makeFavoriteViewController;
    std::function<std::shared_ptr<CommonViewController>()> makeGroupViewController;
    std::function<std::shared_ptr<CommonViewController>()> makeMemoViewController;
    std::function<std::shared_ptr<CommonViewController>()> makeSettingsViewController;
    // The keypad keeps the root (not owned) to ask it to slide the keypad away.
    std::function<std::shared_ptr<KeypadScreen>(TessaroViewController& root)> makeKeyBoardViewController;
    std::function<std::shared_ptr<ContactDetailScreen>(const Contact& contact)> makeContactDetailViewController;
    std::function<std::unique_ptr<BannerNetworks>()> makeBannerNetworks;

    static RootScreens standard();
};

} // namespace tessaro
