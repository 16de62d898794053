#include "platform/services/PersonValueText.h"

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Device.h"

#include <vector>

namespace services {

using namespace contactstore;

namespace {

std::string part(const Dictionary& address, const char* key)
{
    auto found = address.find(key);
    return found == address.end() ? std::string() : found->second;
}

std::string joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const auto& piece : parts) {
        if (piece.empty())
            continue;
        if (!text.empty())
            text += separator;
        text += piece;
    }
    return text;
}

// The lines of an address: Japanese addresses run from the largest place to the street,
// the others from the street to the country.
std::vector<std::string> addressLines(const Dictionary& address)
{
    const std::string street = part(address, kPersonAddressStreetKey);
    const std::string city = part(address, kPersonAddressCityKey);
    const std::string state = part(address, kPersonAddressStateKey);
    const std::string zip = part(address, kPersonAddressZIPKey);
    const std::string country = part(address, kPersonAddressCountryKey);
    if (foundation::Device::current().language() == "ja")
        return { zip, joined({ state, city }, " "), street, country };
    return { street, joined({ joined({ city, state }, ", "), zip }, " "), country };
}

} // namespace

std::string PersonValueText::addressOnOneLine(const Dictionary& address)
{
    return joined(addressLines(address), ", ");
}

std::string PersonValueText::day(const Date& date)
{
    static const foundation::DateFormatter format("yyyy/MM/dd", "en_US_POSIX", "UTC");
    auto milliseconds = date.time_since_epoch().count();
    return format.format(static_cast<double>(milliseconds) / 1000.0);
}

std::string PersonValueText::text(PropertyID property, const ScalarValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* date = std::get_if<Date>(&value))
        return day(*date);
    const auto* dictionary = std::get_if<Dictionary>(&value);
    if (!dictionary)
        return {};
    if (property == kPersonAddressProperty)
        return joined(addressLines(*dictionary), "\n");
    if (property == kPersonInstantMessageProperty) {
        std::string user = part(*dictionary, kPersonInstantMessageUsernameKey);
        std::string service = part(*dictionary, kPersonInstantMessageServiceKey);
        return service.empty() ? user : user + " (" + service + ")";
    }
    return {};
}

} // namespace services
