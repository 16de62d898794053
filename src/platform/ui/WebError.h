#pragma once
// Why a web view's load failed: the URL-loading error codes of the handset, in their
// domain, with a sentence for a person.

#include <string>

namespace ui {

struct WebError {
    static constexpr const char* urlDomain = "URLErrorDomain";
    // A load the web view gave up because another one replaced it.
    static constexpr int cancelled = -999;
    static constexpr int badURL = -1000;
    static constexpr int timedOut = -1001;
    static constexpr int unsupportedURL = -1002;
    static constexpr int cannotFindHost = -1003;
    static constexpr int cannotConnectToHost = -1004;
    static constexpr int resourceUnavailable = -1008;
    static constexpr int notConnectedToInternet = -1009;
    static constexpr int fileDoesNotExist = -1100;
    static constexpr int dataLengthExceedsMaximum = -1103;

    std::string domain { urlDomain };
    int code { 0 };
    std::string description;

    bool operator==(const WebError&) const = default;
};

} // namespace ui
