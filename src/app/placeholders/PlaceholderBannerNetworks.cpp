#include "app/placeholders/PlaceholderBannerNetworks.h"

#include "platform/foundation/Log.h"

namespace tessaro {

void PlaceholderBannerNetworks::showAdMob()
{
    foundation::log("banner: AdMob requested");
}

void PlaceholderBannerNetworks::showKestrel()
{
    foundation::log("banner: kestrel requested");
}

void PlaceholderBannerNetworks::showAd()
{
    foundation::log("banner: platform banner requested");
}

} // namespace tessaro
