#pragma once
// One entry of a multi-valued property as the screens handle it: its value and its label,
// either of which may be missing. Reading gives display labels; writing stores the label
// text as given.

#include "platform/contactstore/Values.h"

#include <optional>
#include <string>

namespace tessaro {

struct EntryDictionary {
    std::optional<contactstore::ScalarValue> value;
    std::optional<std::string> label;

    friend bool operator==(const EntryDictionary&, const EntryDictionary&) = default;
};

} // namespace tessaro
