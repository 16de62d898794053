#pragma once
// The application's texts by key, in the device's language (Device::language()): the
// table resources/strings/<language>.strings, read once per language on first use. The
// test language "keys" answers every key with the key itself, so tests and scripts can
// assert on keys. A missing key, or a language without a table, gives the empty text.
// Main thread only.

#include <filesystem>
#include <string>
#include <string_view>

namespace foundation {

class LocalizedStrings {
public:
    static std::string localized(std::string_view key);

    // Where the tables live; resources/strings of the source tree by default. Changing it
    // forgets the tables read so far.
    static std::filesystem::path directory();
    static void setDirectory(const std::filesystem::path& directory);
};

// The text of the key in the device's language; empty when missing.
inline std::string localized(std::string_view key)
{
    return LocalizedStrings::localized(key);
}

// The platform's own screens (composers, the person screens) borrow the application's
// table and fall back to English, as the handset's own screens always show some text.
inline std::string localizedOr(std::string_view key, const char* english)
{
    auto text = LocalizedStrings::localized(key);
    return text.empty() ? std::string(english) : text;
}

} // namespace foundation
