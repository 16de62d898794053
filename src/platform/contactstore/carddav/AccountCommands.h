#pragma once
// The program's account subcommands on the profile:
//   tessaro account add URL --user NAME [--name NAME] [--allow-http] [--cacert FILE]
//       finds the user's address books on the server and remembers the account; the password
//       is asked on the terminal (not echoed) or read as the first line of standard input
//   tessaro account list
//   tessaro account remove NAME        the account's persons and groups leave the device
//   tessaro sync [NAME]                syncs one account, or all; a line per address book
// Each returns the exit status: 0 done, 1 failed (the reason printed), 2 wrong command line.

#include <cstdio>
#include <string>
#include <vector>

namespace contactstore::carddav {

class AccountCommands {
public:
    static int runAccount(const std::vector<std::string>& arguments, std::FILE* in, std::FILE* out, std::FILE* err);
    static int runSync(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);
};

} // namespace contactstore::carddav
