#pragma once
// One short text memo as the database keeps it: a plain value, copied freely.

#include <string>

namespace tessaro {

struct MemoObject {
    // Assigned by the database when the memo is first stored.
    int memoID { 0 };
    // A NULL column reads as empty text.
    std::string memo {};
    // Higher is listed first, so a new memo heads the list.
    int sortIndex { 0 };

    bool operator==(const MemoObject&) const = default;
};

} // namespace tessaro
