#pragma once
// Addresses that come from outside (an ad server's answer, a device's model name put into
// a request) made fit to hand to a connection or to the platform: every byte a URL cannot
// hold as it is (a space, a quote, a control character, any byte of a letter outside
// ASCII) becomes "%XX" of its UTF-8 bytes. Escapes already written ("%2F") are kept as they
// are, so an address that arrives escaped is not escaped twice.

#include <string>
#include <string_view>

namespace ads {

class URLText {
public:
    URLText() = delete;

    static std::string escapedAsUTF8(std::string_view text);
    // A value to put after "key=" in a query: also "&", "=", "?", "#", "+" and "%" escaped,
    // so the value cannot end early or start a key of its own.
    static std::string escapedQueryValue(std::string_view text);
    // "http" or "https" (in any case) before the first ":".
    static bool isWebAddress(std::string_view url);
};

} // namespace ads
