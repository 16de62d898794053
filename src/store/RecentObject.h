#pragma once
// One recent call as the database keeps it: a plain value, copied freely.

#include <chrono>
#include <string>

namespace tessaro {

struct RecentObject {
    // The person called as decimal text, or, for a number that matched no single person,
    // "isphonenumber" and the number joined by a comma.
    std::string contactID {};
    // Higher is listed first, so the newest call heads the list.
    int sortIndex { 0 };
    // When the call was made. Stored as seconds since 1 January 1970 (UTC) with fractions,
    // so it comes back rounded to what a double holds (well under a microsecond today).
    std::chrono::system_clock::time_point callDate {};

    bool operator==(const RecentObject&) const = default;
};

} // namespace tessaro
