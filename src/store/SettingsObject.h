#pragma once
// The settings record. The application stores no settings, so it has no fields; it exists so
// that the shared state can hold what the database hands back at launch (always nothing).

namespace tessaro {

struct SettingsObject {
    bool operator==(const SettingsObject&) const = default;
};

} // namespace tessaro
