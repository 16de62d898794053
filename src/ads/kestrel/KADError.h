#pragma once
// The kestrel client's error numbers: the log line each one writes and the code and
// message its banner view hands to the delegate. Logging can be switched off for the whole
// client. Main thread only.

#include <map>
#include <string>
#include <string_view>

namespace ads {

// What a banner view hands its delegate about a failure: an error whose domain is the
// delegate-facing message, with that message and the code also in its user information.
struct KADViewError {
    std::string domain;
    int code { 0 };
    std::map<std::string, std::string> userInfo;
    // The error number that caused it (700, 781, ...), for the log and for tests.
    int number { 0 };
};

class KADError {
public:
    KADError() = delete;

    struct OutputErrorInfo {
        int errorCode { -1 };
        std::string message;
    };

    static void setIsOutputLog(bool output);
    static bool isOutputLog();

    // "[kestrelSDK Error] IE<number>: <text>." with the number's log text.
    static void logErrorMessage(int number);
    // The same with "<text>. info[<info>]" as the text.
    static void logErrorMessage(int number, std::string_view info);
    // A server's own status: the status as the number and its message as the text.
    static void logErrorMessage(std::string_view message, int statusCode);
    // "[kestrelSDK Warning] <text>".
    static void logWarningMessage(std::string_view text);

    // The number's log text ("Unexpected error" for a number of no meaning).
    static std::string getErrorMessage(int number);
    // The number's delegate-facing code and message.
    static OutputErrorInfo getOutputErrorInfo(int number);
    // The error the banner view hands its delegate for the number.
    static KADViewError viewError(int number);
};

} // namespace ads
