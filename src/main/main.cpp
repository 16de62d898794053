// The tessaro program: starts the application, or runs one of its command-line subcommands.

#include "platform/foundation/DataLocations.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

void printUsage()
{
    std::puts("usage: tessaro [options]            start the application\n"
              "       tessaro paths [options]      print where the profile's files live\n"
              "\n"
              "options:\n"
              "  --profile DIR     keep the profile in DIR instead of ~/.local/share/tessaro");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    std::vector<std::string_view> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--profile" && i + 1 < args.size()) {
            foundation::DataLocations::setProfileDirectory(std::string(args[++i]));
        } else if (args[i] == "--help" || args[i] == "-h") {
            printUsage();
            return 0;
        } else {
            rest.push_back(args[i]);
        }
    }

    if (!rest.empty() && rest.front() == "paths") {
        using foundation::DataLocations;
        std::printf("profile       %s\n", DataLocations::profileDirectory().c_str());
        std::printf("database      %s\n", (DataLocations::documentsDirectory() / "Vantel.db").c_str());
        std::printf("address book  %s\n", (DataLocations::addressBookDirectory() / "AddressBook.sqlite").c_str());
        return 0;
    }
    printUsage();
    return rest.empty() ? 0 : 2;
}
