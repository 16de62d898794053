#pragma once
// One message of the notification centre: a name, the text naming the sender or the action
// (the "object"), and a small map of values. Values are held as std::any so that a screen
// can hand on a record of its own (a person, say) next to plain texts and numbers.

#include <any>
#include <map>
#include <string>

namespace foundation {

using UserInfo = std::map<std::string, std::any>;

struct Notification {
    std::string name;
    std::string object;
    UserInfo userInfo;

    // The value under key when it holds a T, else null.
    template<typename T>
    const T* value(const std::string& key) const
    {
        auto found = userInfo.find(key);
        if (found == userInfo.end())
            return nullptr;
        return std::any_cast<T>(&found->second);
    }

    // The text under key; empty when missing or not a text.
    std::string text(const std::string& key) const
    {
        const auto* found = value<std::string>(key);
        return found ? *found : std::string();
    }
};

} // namespace foundation
