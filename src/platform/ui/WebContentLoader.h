#pragma once
// The network side of the web views: the platform layer has no network library, so web
// (http and https) loads are handed to a loader that a higher layer installs (the banner
// client brings one on libcurl; tests bring a scripted one). Without a loader a web load
// fails as if the device were offline.

#include "platform/ui/URLRequest.h"
#include "platform/ui/WebError.h"

#include <functional>
#include <optional>
#include <string>

namespace ui {

// The answer of one load: an error, or the status, type and body of the response.
struct WebLoadResult {
    std::optional<WebError> error;
    int statusCode { 200 };
    std::string mimeType { "text/html" };
    std::string body;
};

class WebContentLoader {
public:
    using Completion = std::function<void(WebLoadResult result)>;

    virtual ~WebContentLoader() = default;
    // Starts loading and calls the completion exactly once, from any thread (the web view
    // moves it onto the main run loop), unless the load is cancelled first.
    virtual void load(const URLRequest& request, Completion completion) = 0;
    // The web view no longer wants the answer to this request (stopped, replaced, timed
    // out, gone). A completion that still comes is ignored.
    virtual void cancel(const URLRequest&) { }
};

} // namespace ui
