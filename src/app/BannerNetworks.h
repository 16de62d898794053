#pragma once
// The banners that can fill the 50-point slot at the top of the root screen. The root
// builds the slot with its "Ad" placeholder and asks for the first network by the language
// (the strings table's "Language" text): AdMob where it is "en", kestrel otherwise. Which
// banner then shows, and how one network falls back to the next, is the banners' business.
//
// Ownership: the root owns its banner networks; the networks keep plain pointers to the
// slot and the root they were attached to, both of which outlive them.

#include <memory>

namespace ui {
class View;
class ViewController;
}

namespace tessaro {

class BannerNetworks {
public:
    virtual ~BannerNetworks() = default;

    // Called once, when the slot exists; banners go into it at (0, 0, 320, 50), and the
    // root is the controller they present from.
    virtual void attach(ui::View& slot, ui::ViewController& root) = 0;
    virtual void showAdMob() = 0;
    virtual void showKestrel() = 0;
    virtual void showAd() = 0;
};

} // namespace tessaro
