#pragma once
// Brings web pages into the platform's web views over the network: the banner clients'
// downloads (HttpClient) behind the web view's loader interface. Pages are held to the
// same size limit as the ad answers.
//
// Ownership: shared by the web views that use it; every load still under way is
// cancelled when the loader goes. Main thread only.

#include "ads/HttpClient.h"
#include "platform/ui/WebContentLoader.h"

#include <map>
#include <string>

namespace ads {

class WebContentDownloader : public ui::WebContentLoader {
public:
    static constexpr std::size_t maximumPageSize = 1024 * 1024;

    WebContentDownloader() = default;
    ~WebContentDownloader() override;

    void load(const ui::URLRequest& request, Completion completion) override;
    void cancel(const ui::URLRequest& request) override;

private:
    std::multimap<std::string, HttpClient::RequestId> m_running;
};

} // namespace ads
