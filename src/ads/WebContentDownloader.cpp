#include "ads/WebContentDownloader.h"

namespace ads {

WebContentDownloader::~WebContentDownloader()
{
    for (const auto& [url, id] : m_running)
        HttpClient::shared().cancel(id);
}

void WebContentDownloader::load(const ui::URLRequest& request, Completion completion)
{
    double timeout = request.timeoutInterval > 0 ? request.timeoutInterval : ui::URLRequest::defaultTimeoutInterval;
    auto id = std::make_shared<HttpClient::RequestId>(0);
    *id = HttpClient::shared().get(
        request.url, timeout, maximumPageSize, [this, url = request.url, id, completion = std::move(completion)](HttpResponse response) {
            for (auto [at, end] = m_running.equal_range(url); at != end; ++at) {
                if (at->second == *id) {
                    m_running.erase(at);
                    break;
                }
            }
            ui::WebLoadResult result;
            if (response.failed) {
                result.error = ui::WebError { ui::WebError::urlDomain, ui::WebError::cannotConnectToHost, response.errorDescription };
            } else if (response.tooLarge) {
                result.error = ui::WebError { ui::WebError::urlDomain, ui::WebError::dataLengthExceedsMaximum,
                                              "The page is too large to show." };
            } else if (response.statusCode >= 400) {
                // A server's error page is not a banner.
                result.error = ui::WebError { ui::WebError::urlDomain, ui::WebError::resourceUnavailable,
                                              "The server answered with status " + std::to_string(response.statusCode) + "." };
            } else {
                result.statusCode = static_cast<int>(response.statusCode);
                result.body = std::move(response.body);
            }
            completion(std::move(result));
        });
    m_running.emplace(request.url, *id);
}

void WebContentDownloader::cancel(const ui::URLRequest& request)
{
    auto [at, end] = m_running.equal_range(request.url);
    for (auto it = at; it != end; ++it)
        HttpClient::shared().cancel(it->second);
    m_running.erase(at, end);
}

} // namespace ads
