#pragma once
// The common part of the two small banner networks beside kestrel (the AdMob banner and
// the platform's own): ask the network's server which banner to show, download its
// picture, show it as one button that opens the ad's page, and ask again on the server's
// refresh schedule. Each answer, and each failure, is told to the concrete banner, which
// tells its delegate in its network's own words.
//
// The server answers "<path>?scale=N" with {"image_url", "click_url", "refresh"} (status
// 200), or with another status when it has no ad. A picture must be the banner's size, or
// twice it.
//
// Ownership: the slot owns the banner; the banner owns its refresh timer and downloads,
// which stop when it goes.

#include "ads/HttpClient.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {
class Button;
}

namespace ads {

class ServedImageBanner : public ui::View {
public:
    static constexpr double timeoutInterval = 20;
    static constexpr std::size_t maximumAnswerSize = 64 * 1024;
    static constexpr std::size_t maximumImageSize = 5 * 1024 * 1024;
    // Seconds until the next banner when the server names no refresh time, and the least
    // the banner waits whatever the server says.
    static constexpr double defaultRefresh = 60;
    static constexpr double shortestRefresh = 10;

    ~ServedImageBanner() override;

    // Whether a banner has been shown.
    bool hasAd() const { return m_button != nullptr; }
    const std::string& clickURL() const { return m_clickURL; }
    // Stops the refresh timer and every download; a later requestAd() starts again.
    void stop();

protected:
    // `server` is the network's address; `path` its ad request ("/admob/ad").
    ServedImageBanner(const ui::Rect& frame, std::string path);

    // Asks for a banner now; the refresh schedule follows from the answer.
    void requestAd(const std::string& server, const std::string& query);

    virtual void bannerDidLoad() = 0;
    virtual void bannerDidFail(const std::string& reason) = 0;
    // The user touched the banner; true when its page may open.
    virtual bool bannerActionShouldBegin() { return true; }

private:
    void answerArrived(HttpResponse response);
    void imageArrived(HttpResponse response);
    void fail(const std::string& reason);
    void scheduleRefresh();
    void tap();

    std::string m_path;
    std::string m_server;
    std::string m_query;
    HttpClient::RequestId m_request { 0 };
    std::shared_ptr<foundation::Timer> m_refreshTimer;
    double m_refresh { defaultRefresh };
    std::string m_pendingClickURL;
    std::string m_clickURL;
    std::shared_ptr<ui::Button> m_button;
};

} // namespace ads
