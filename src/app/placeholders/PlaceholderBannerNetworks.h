#pragma once
// Stands in for the banner networks until their clients land: the slot keeps its "Ad"
// placeholder, and each request is only noted in the log, so the choice of the first
// network can be seen.

#include "app/BannerNetworks.h"

namespace tessaro {

class PlaceholderBannerNetworks : public BannerNetworks {
public:
    void attach(ui::View&, ui::ViewController&) override { }
    void showAdMob() override;
    void showKestrel() override;
    void showAd() override;
};

} // namespace tessaro
