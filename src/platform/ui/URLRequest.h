#pragma once
// What a web view is asked to load: an address, how far a cached answer may stand in for
// a fresh one, and how long to wait before giving up.

#include <string>

namespace ui {

enum class URLRequestCachePolicy {
    // Whatever the protocol allows: here, always a fresh load whose answer is kept.
    UseProtocolCachePolicy,
    ReloadIgnoringLocalCacheData,
    ReturnCacheDataElseLoad,
    // A cached answer or a failure, never the network.
    ReturnCacheDataDontLoad,
};

struct URLRequest {
    static constexpr double defaultTimeoutInterval = 60;

    std::string url;
    URLRequestCachePolicy cachePolicy { URLRequestCachePolicy::UseProtocolCachePolicy };
    // Seconds; 0 or less means the default.
    double timeoutInterval { defaultTimeoutInterval };

    bool operator==(const URLRequest&) const = default;

    // A request for a local file, by its absolute path.
    static URLRequest forFile(const std::string& path) { return { "file://" + path }; }
};

} // namespace ui
