#include "ads/ServedImageBanner.h"

#include "ads/URLText.h"
#include "ads/WebHandoff.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Button.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace ads {

ServedImageBanner::ServedImageBanner(const ui::Rect& frame, std::string path)
    : View(frame)
    , m_path(std::move(path))
{
    setClipsToBounds(true);
}

ServedImageBanner::~ServedImageBanner()
{
    stop();
}

void ServedImageBanner::stop()
{
    if (m_refreshTimer)
        m_refreshTimer->invalidate();
    if (m_request != 0) {
        HttpClient::shared().cancel(m_request);
        m_request = 0;
    }
}

void ServedImageBanner::requestAd(const std::string& server, const std::string& query)
{
    stop();
    m_server = server;
    m_query = query;
    if (m_server.empty())
        return;
    m_request = HttpClient::shared().get(URLText::escapedAsUTF8(m_server + m_path + "?" + m_query), timeoutInterval,
                                         maximumAnswerSize, [this](HttpResponse response) {
                                             m_request = 0;
                                             answerArrived(std::move(response));
                                         });
}

void ServedImageBanner::fail(const std::string& reason)
{
    scheduleRefresh();
    bannerDidFail(reason);
}

void ServedImageBanner::answerArrived(HttpResponse response)
{
    if (response.failed) {
        fail(response.errorDescription);
        return;
    }
    if (response.tooLarge || response.statusCode != 200) {
        fail(response.tooLarge ? "the answer is too large" : "no ad (status " + std::to_string(response.statusCode) + ")");
        return;
    }
    auto answer = nlohmann::json::parse(response.body, nullptr, false);
    if (answer.is_discarded() || !answer.is_object()) {
        fail("the answer is not a JSON object");
        return;
    }
    auto text = [&answer](const char* key) {
        auto found = answer.find(key);
        return found != answer.end() && found->is_string() ? found->get<std::string>() : std::string();
    };
    std::string imageURL = text("image_url");
    m_pendingClickURL = URLText::escapedAsUTF8(text("click_url"));
    m_refresh = defaultRefresh;
    if (auto refresh = answer.find("refresh"); refresh != answer.end() && refresh->is_number())
        m_refresh = std::max(shortestRefresh, refresh->get<double>());
    if (imageURL.empty()) {
        fail("the answer names no picture");
        return;
    }
    m_request = HttpClient::shared().get(URLText::escapedAsUTF8(imageURL), timeoutInterval, maximumImageSize,
                                         [this](HttpResponse image) {
                                             m_request = 0;
                                             imageArrived(std::move(image));
                                         });
}

void ServedImageBanner::imageArrived(HttpResponse response)
{
    if (response.failed || response.tooLarge || response.statusCode != 200) {
        fail(response.failed ? response.errorDescription : "the picture could not be downloaded");
        return;
    }
    auto image = ui::Image::fromData("banner", std::vector<std::uint8_t>(response.body.begin(), response.body.end()));
    if (!image) {
        fail("the picture is not an image");
        return;
    }
    ui::Size size = image->size();
    ui::Size banner = bounds().size;
    if (size.width == banner.width * 2 && size.height == banner.height * 2)
        image = ui::Image::fromData("banner", image->bytes(), 2.0);
    else if (size.width != banner.width || size.height != banner.height) {
        fail("the picture does not have the banner's size");
        return;
    }
    if (m_button)
        m_button->removeFromSuperview();
    m_button = std::make_shared<ui::Button>(ui::ButtonType::Custom, bounds());
    m_button->setImage(image);
    m_button->setAdjustsImageWhenHighlighted(false);
    m_button->setAccessibilityIdentifier(accessibilityIdentifier() + ".button");
    m_button->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { tap(); });
    addSubview(m_button);
    m_clickURL = m_pendingClickURL;
    scheduleRefresh();
    bannerDidLoad();
}

void ServedImageBanner::scheduleRefresh()
{
    if (m_refreshTimer)
        m_refreshTimer->invalidate();
    m_refreshTimer = foundation::RunLoop::main().scheduledTimer(
        m_refresh, foundation::TimerRepeat::Once, [this](foundation::Timer&) { requestAd(m_server, m_query); });
}

void ServedImageBanner::tap()
{
    if (m_clickURL.empty() || !bannerActionShouldBegin())
        return;
    openAdPage(m_clickURL);
}

} // namespace ads
