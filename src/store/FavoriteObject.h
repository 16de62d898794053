#pragma once
// One favourite person as the database keeps it: a plain value, copied freely. Persons are
// referred to by their address-book record identifier written as decimal text.

#include <string>

namespace tessaro {

struct FavoriteObject {
    // The person's record identifier as decimal text; a NULL column reads as empty text.
    std::string contactID {};
    // Position in the favourites list; the list is shown in ascending order.
    int sortIndex { 0 };

    bool operator==(const FavoriteObject&) const = default;
};

} // namespace tessaro
