#pragma once
// One image banner of an answer: the picture to show and the page a touch opens. Both
// addresses are escaped as UTF-8 when read; either may be missing (the banner then fails).

#include <optional>
#include <string>

namespace ads {

struct KADDefaultAd {
    std::optional<std::string> clickURL;
    std::optional<std::string> imageURL;

    bool operator==(const KADDefaultAd&) const = default;
};

} // namespace ads
