#pragma once
// The screens the root controller is made of: the four tab screens, the keypad and
// contact-detail overlays, and the banner networks of the slot. The program chooses them
// (it is the one place that knows every screen) and hands them to the root; tests hand
// screens of their own to watch what the root does with them. A maker left empty is a
// screen the root goes without.

#include "app/BannerNetworks.h"
#include "app/CommonViewController.h"
#include "app/ContactDetailScreen.h"
#include "app/KeypadScreen.h"

#include <functional>
#include <memory>

namespace tessaro {

class Contact;

struct RootScreens {
    std::function<std::shared_ptr<CommonViewController>()> makeFavoriteViewController;
    std::function<std::shared_ptr<CommonViewController>()> makeGroupViewController;
    std::function<std::shared_ptr<CommonViewController>()> makeMemoViewController;
    std::function<std::shared_ptr<CommonViewController>()> makeSettingsViewController;
    // The keypad keeps its host (the root, not owned) to ask it to slide the keypad away.
    std::function<std::shared_ptr<KeypadScreen>(KeypadHost& host)> makeKeyBoardViewController;
    std::function<std::shared_ptr<ContactDetailScreen>(const Contact& contact)> makeContactDetailViewController;
    std::function<std::unique_ptr<BannerNetworks>()> makeBannerNetworks;
};

} // namespace tessaro
