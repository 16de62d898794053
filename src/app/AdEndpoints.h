#pragma once
// Where each banner network's servers are: launch options of the simulated handset
// ("--ad-server URL" for all three networks, or one each). A network without a server makes
// no request, and the slot keeps whatever it shows. Addresses are kept without a trailing
// "/"; the clients add their own paths. Main thread only.

#include <string>
#include <string_view>

namespace ads {

struct AdEndpoints {
    // kestrel: the ad server; the opt-out icon and the privacy page live on the same host.
    std::string kestrelServer;
    // The AdMob banner's server.
    std::string admobServer;
    // The platform's own banner's server.
    std::string platformServer;

    static AdEndpoints& current();
    // Every network's server at once.
    void setAll(std::string_view server);
    // An address fit to serve banners from: http or https with a host. Trailing "/" are
    // taken off; empty when the text is not such an address.
    static std::string normalized(std::string_view server);
};

} // namespace ads
