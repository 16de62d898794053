#pragma once
// The launch options that describe the simulated handset: its model name, screen, system
// version and language, whether the user refuses access to the contacts, whether the
// device can send text messages, its advertising identifier and other installed
// applications, and where the banner networks' servers are. They are taken out of the command line and applied to the
// platform's device facts before anything of the application is made.

#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class LaunchOptions {
public:
    LaunchOptions() = delete;

    // Applies and removes every device option found in args; what is left (other options,
    // subcommands) stays in order. False with a message for the user when an option is
    // missing its value or has one that makes no sense; nothing is applied then.
    [[nodiscard]] static bool apply(std::vector<std::string_view>& args, std::string& error);

    // The lines of the program's usage text that describe these options.
    static const char* usage();
};

} // namespace tessaro
