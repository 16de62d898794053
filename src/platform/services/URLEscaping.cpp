#include "platform/services/URLEscaping.h"

namespace services {

std::string URLEscaping::percentEscape(std::string_view text, std::string_view keep)
{
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (char character : text) {
        auto byte = static_cast<unsigned char>(character);
        bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')
            || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (unreserved || (byte < 0x80 && keep.find(character) != std::string_view::npos)) {
            escaped.push_back(character);
        } else {
            escaped.push_back('%');
            escaped.push_back(hexDigits[byte >> 4]);
            escaped.push_back(hexDigits[byte & 0x0F]);
        }
    }
    return escaped;
}

std::string URLEscaping::recipientList(const std::vector<std::string>& recipients)
{
    std::string joined;
    for (const auto& recipient : recipients) {
        if (recipient.empty())
            continue;
        if (!joined.empty())
            joined += ',';
        joined += percentEscapeRecipient(recipient);
    }
    return joined;
}

} // namespace services
