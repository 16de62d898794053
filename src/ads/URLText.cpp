#include "ads/URLText.h"

#include <cctype>

namespace ads {

namespace {

bool isHex(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::string URLText::escapedAsUTF8(std::string_view text)
{
    static const std::string_view allowed = "-._~:/?#[]@!$&'()*+,;=";
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '%' && i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2])) {
            out += text.substr(i, 3);
            i += 2;
            continue;
        }
        if (c < 0x80 && (std::isalnum(c) || allowed.find(static_cast<char>(c)) != std::string_view::npos)) {
            out += static_cast<char>(c);
            continue;
        }
        out += '%';
        out += hex[c >> 4];
        out += hex[c & 0x0f];
    }
    return out;
}

std::string URLText::escapedQueryValue(std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        if (c == '&' || c == '=' || c == '?' || c == '#' || c == '+' || c == '%') {
            out += '%';
            out += hex[static_cast<unsigned char>(c) >> 4];
            out += hex[static_cast<unsigned char>(c) & 0x0f];
        } else {
            out += c;
        }
    }
    return escapedAsUTF8(out);
}

bool URLText::isWebAddress(std::string_view url)
{
    auto colon = url.find(':');
    if (colon == std::string_view::npos)
        return false;
    std::string scheme;
    for (char c : url.substr(0, colon))
        scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme == "http" || scheme == "https";
}

} // namespace ads
