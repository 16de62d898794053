#include "RootSpies.h"

namespace apptest {

tessaro::RootScreens SpyScreens::make()
{
    tessaro::RootScreens screens;
    screens.makeFavoriteViewController = [this] { return std::make_shared<SpyScreen>("favorites", journal); };
    screens.makeGroupViewController = [this] { return std::make_shared<SpyScreen>("groups", journal); };
    screens.makeMemoViewController = [this] { return std::make_shared<SpyScreen>("memos", journal); };
    screens.makeSettingsViewController = [this] { return std::make_shared<SpyScreen>("settings", journal); };
    screens.makeKeyBoardViewController = [this](tessaro::KeypadHost& host) {
        auto keypad = std::make_shared<SpyKeypad>(host, journal);
        keypads.push_back(keypad);
        return keypad;
    };
    screens.makeContactDetailViewController = [this](const tessaro::Contact& contact) {
        auto detail = std::make_shared<SpyDetail>(contact, journal);
        details.push_back(detail);
        return detail;
    };
    screens.makeBannerNetworks = [this] { return std::make_unique<SpyBanners>(journal); };
    return screens;
}

} // namespace apptest
