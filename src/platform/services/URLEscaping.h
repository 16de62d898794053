#pragma once
// Percent-escaping of texts that travel inside a URL handed to another application (a memo
// as the body of a "mailto:" or "sms:" URL, a list of addresses). Each byte of the UTF-8
// text is kept or written as "%XX", so spaces, line breaks and letters outside ASCII survive
// the hand-off, and "&", "=", "?", "#" and "%" in the text cannot cut it short or start a
// header of their own.

#include <string>
#include <string_view>
#include <vector>

namespace services {

class URLEscaping {
public:
    URLEscaping() = delete;

    // Keeps letters and digits of ASCII, "-", ".", "_", "~" and the characters listed in
    // `keep`; every other byte becomes "%XX" with upper-case hexadecimal digits.
    static std::string percentEscape(std::string_view text, std::string_view keep = {});

    // For a list of mail addresses or phone numbers joined by commas: "@" and "+" stay
    // readable, the commas that separate entries are added by the caller.
    static std::string percentEscapeRecipient(std::string_view recipient) { return percentEscape(recipient, "@+"); }
    // The recipients escaped that way and joined by commas; empty entries are left out so
    // that no stray comma reaches the other application.
    static std::string recipientList(const std::vector<std::string>& recipients);
};

} // namespace services
