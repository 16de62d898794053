#pragma once
// An image banner meant for handsets with (or without) certain applications installed.
// Its condition groups are alternatives: the campaign applies when every condition of one
// group holds. A condition names an application by its URL scheme and says whether it
// must be installed (1) or must not be (2).

#include "ads/kestrel/KADDefaultAd.h"

#include <optional>
#include <string>
#include <vector>

namespace ads {

struct KADAppTargetingAdDetailCondition {
    static constexpr int mustBeInstalled = 1;
    static constexpr int mustNotBeInstalled = 2;

    std::optional<std::string> urlScheme;
    int logicalOperator { 0 };

    bool operator==(const KADAppTargetingAdDetailCondition&) const = default;
};

struct KADAppTargetingAd : KADDefaultAd {
    // None when the answer's conditions were not an array of arrays of objects.
    std::optional<std::vector<std::vector<KADAppTargetingAdDetailCondition>>> conditionsGroups;

    bool operator==(const KADAppTargetingAd&) const = default;
};

} // namespace ads
