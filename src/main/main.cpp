// The tessaro program: starts the application, or runs one of its command-line subcommands.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/demo/DemoBook.h"
#include "platform/contactstore/vcard/VcardCommands.h"
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
              "       tessaro import FILE...       add the persons and groups of vCard files (all or none)\n"
              "       tessaro export FILE          write the address book as vCard 3.0 (\"-\": standard output;\n"
              "                                    --vcard-version 4.0 for 4.0)\n"
              "\n"
              "options:\n"
              "  --profile DIR     keep the profile in DIR instead of ~/.local/share/tessaro\n"
              "  --demo            give a profile without an address book a sample one");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    std::vector<std::string_view> rest;
    bool demo = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--profile" && i + 1 < args.size()) {
            foundation::DataLocations::setProfileDirectory(std::string(args[++i]));
        } else if (args[i] == "--demo") {
            demo = true;
        } else if (args[i] == "--help" || args[i] == "-h") {
            printUsage();
            return 0;
        } else {
            rest.push_back(args[i]);
        }
    }

    if (demo) {
        contactstore::Error error;
        const auto result = contactstore::demo::DemoBook::fillIfEmpty(contactstore::AddressBook::create(&error));
        std::fprintf(stderr, "--demo: %s\n", error ? error.description.c_str() : result.message.c_str());
    }
    if (!rest.empty() && (rest.front() == "import" || rest.front() == "export")) {
        const std::vector<std::string> arguments(rest.begin() + 1, rest.end());
        return rest.front() == "import" ? contactstore::vcard::VcardCommands::runImport(arguments, stdout, stderr)
                                        : contactstore::vcard::VcardCommands::runExport(arguments, stdout, stderr);
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
