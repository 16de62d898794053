#include "ads/kestrel/KADAdData.h"

#include "ads/URLText.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace ads {

namespace {

using nlohmann::json;

const json* member(const json& object, const char* key)
{
    auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return nullptr;
    return &*found;
}

int clampToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// A text's leading number, as a handset reads "35" or " 35s" (0 when there is none).
std::optional<double> leadingNumber(const std::string& text)
{
    const char* start = text.c_str();
    char* end = nullptr;
    double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> number(const json& object, const char* key)
{
    const json* value = member(object, key);
    if (!value)
        return std::nullopt;
    if (value->is_number())
        return value->get<double>();
    if (value->is_boolean())
        return value->get<bool>() ? 1.0 : 0.0;
    if (value->is_string())
        return leadingNumber(value->get_ref<const std::string&>()).value_or(0.0);
    return std::nullopt;
}

int integer(const json& object, const char* key)
{
    const json* value = member(object, key);
    if (value && value->is_number_integer()) {
        if (value->is_number_unsigned())
            return clampToInt(static_cast<double>(value->get<std::uint64_t>()));
        auto whole = value->get<std::int64_t>();
        if (whole > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
        if (whole < std::numeric_limits<int>::min())
            return std::numeric_limits<int>::min();
        return static_cast<int>(whole);
    }
    return clampToInt(number(object, key).value_or(0.0));
}

std::optional<std::string> text(const json& object, const char* key)
{
    const json* value = member(object, key);
    if (!value || !value->is_string())
        return std::nullopt;
    return value->get<std::string>();
}

std::optional<std::string> address(const json& object, const char* key)
{
    auto value = text(object, key);
    if (!value)
        return std::nullopt;
    return URLText::escapedAsUTF8(*value);
}

KADDefaultAd readDefaultAd(const json& object)
{
    return { address(object, "click_url"), address(object, "image_url") };
}

// Array of arrays of objects, or nothing at all.
std::optional<std::vector<std::vector<KADAppTargetingAdDetailCondition>>> readConditions(const json& object)
{
    const json* groups = member(object, "conditions");
    if (!groups || !groups->is_array())
        return std::nullopt;
    std::vector<std::vector<KADAppTargetingAdDetailCondition>> result;
    for (const json& group : *groups) {
        if (!group.is_array())
            return std::nullopt;
        std::vector<KADAppTargetingAdDetailCondition> conditions;
        for (const json& condition : group) {
            if (!condition.is_object())
                return std::nullopt;
            conditions.push_back({ address(condition, "url_scheme"), integer(condition, "logical_operator") });
        }
        result.push_back(std::move(conditions));
    }
    return result;
}

bool isUTF8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        std::uint32_t code = length == 1 ? c : c & (0x7f >> length);
        for (std::size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3f);
        }
        // Overlong forms, surrogates and code points past Unicode are not UTF-8.
        static const std::uint32_t smallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (code < smallest[length] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff)
            return false;
        i += length;
    }
    return true;
}

} // namespace

KADAdReading KADAdData::read(std::string_view bytes)
{
    if (bytes.empty())
        return { std::nullopt, 700, "Response data is nil" };
    if (!isUTF8(bytes))
        return { std::nullopt, 700, "String is nil" };
    // A string of only a byte-order mark reads as empty, as the handset's decoder has it.
    std::string_view textBytes = bytes;
    if (textBytes.starts_with("\xEF\xBB\xBF"))
        textBytes.remove_prefix(3);
    if (textBytes.empty())
        return { std::nullopt, 700, "String length is 0" };
    json root = json::parse(textBytes, nullptr, false);
    if (root.is_discarded() || !root.is_object())
        return { std::nullopt, 700, "unknown json format" };

    KADAdData data;
    data.responseType = integer(root, "response_type");
    data.reloadTime = integer(root, "reload");
    if (const json* campaigns = member(root, "targeting_ads"); campaigns && campaigns->is_array()) {
        std::vector<KADAppTargetingAd> list;
        for (const json& campaign : *campaigns) {
            if (!campaign.is_object())
                continue;
            KADAppTargetingAd ad;
            static_cast<KADDefaultAd&>(ad) = readDefaultAd(campaign);
            ad.conditionsGroups = readConditions(campaign);
            list.push_back(std::move(ad));
        }
        data.targetingAdCampaigns = std::move(list);
    }
    if (const json* defaultAd = member(root, "default_ad"); defaultAd && defaultAd->is_object())
        data.defaultAd = readDefaultAd(*defaultAd);
    data.webViewURL = address(root, "web_view_url");
    data.statusCode = integer(root, "status_code");
    data.message = text(root, "message");
    data.adWidth = number(root, "width");
    data.adHeight = number(root, "height");
    return { std::move(data), 0, {} };
}

} // namespace ads
