#pragma once
// The display forms of the address book's labels and property names. Texts come from the
// strings table of the device's language (foundation::localized) by key, or from a lookup
// set here instead; when there is no text for a key, English is shown.
// A label that is not one of the standard constants is the user's own text and shows as itself.

#include "platform/contactstore/Constants.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace contactstore {

class Localization {
public:
    // Returns the localized text of a key, or the empty text when it has none.
    using Lookup = std::function<std::string(std::string_view key)>;
    // Replaces the strings table; null goes back to it.
    static void setLookup(Lookup lookup);

    // "_$!<Mobile>!$_" -> "mobile"; free text unchanged; no label -> "".
    static std::string localizedLabel(std::optional<std::string_view> label);
    // The strings-table key of a standard label ("LabelMobile"), empty for free text.
    static std::string_view labelKey(std::string_view label);

    // The display name of a person property ("First Name"); empty for an unknown one.
    static std::string localizedPropertyName(PropertyID property);
};

} // namespace contactstore
