#include "platform/foundation/LocalizedStrings.h"

#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/StringsTable.h"

#include <map>
#include <vector>

namespace foundation {

namespace {

struct State {
    std::filesystem::path directory { std::filesystem::path(TESSARO_RESOURCES_DIR) / "strings" };
    std::map<std::string, StringsTable> tables;
};

State& state()
{
    static State instance;
    return instance;
}

const StringsTable& tableFor(const std::string& language)
{
    auto& s = state();
    auto found = s.tables.find(language);
    if (found != s.tables.end())
        return found->second;
    std::vector<std::string> errors;
    auto file = s.directory / (language + ".strings");
    auto table = StringsTable::load(file, &errors);
    for (const auto& error : errors)
        log("strings " + file.filename().string() + ": " + error);
    return s.tables.emplace(language, std::move(table)).first->second;
}

} // namespace

std::string LocalizedStrings::localized(std::string_view key)
{
    const auto& language = Device::current().language();
    if (language == "keys")
        return std::string(key);
    return tableFor(language).lookup(key);
}

std::filesystem::path LocalizedStrings::directory()
{
    return state().directory;
}

void LocalizedStrings::setDirectory(const std::filesystem::path& directory)
{
    state().directory = directory;
    state().tables.clear();
}

} // namespace foundation
