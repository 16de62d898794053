#include "platform/contactstore/carddav/AccountCommands.h"

#include "platform/contactstore/carddav/CardDavAccounts.h"

#include <termios.h>
#include <unistd.h>

namespace contactstore::carddav {

namespace {

constexpr char kUsage[] = "usage: tessaro account add URL --user NAME [--name NAME] [--allow-http] [--cacert FILE]\n"
                          "       tessaro account list\n"
                          "       tessaro account remove NAME\n";

std::string readLine(std::FILE* in)
{
    std::string line;
    int c = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n') {
        if (line.size() < 4096)
            line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// On a terminal the password is asked without echoing it; otherwise it is the first line
// of standard input, for scripts.
std::string readPassword(std::FILE* in, std::FILE* err, const std::string& name)
{
    int fd = fileno(in);
    if (!isatty(fd))
        return readLine(in);
    std::fprintf(err, "Password for %s: ", name.c_str());
    std::fflush(err);
    termios saved {};
    bool quiet = tcgetattr(fd, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fd, TCSAFLUSH, &silent);
    }
    std::string password = readLine(in);
    if (quiet)
        tcsetattr(fd, TCSAFLUSH, &saved);
    std::fprintf(err, "\n");
    return password;
}

int add(const std::vector<std::string>& arguments, std::FILE* in, std::FILE* out, std::FILE* err)
{
    NewAccount account;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (argument == "--user" && hasValue) {
            account.user = arguments[++i];
        } else if (argument == "--name" && hasValue) {
            account.name = arguments[++i];
        } else if (argument == "--cacert" && hasValue) {
            account.certificateAuthorityFile = arguments[++i];
        } else if (argument == "--allow-http") {
            account.allowPlainHttp = true;
        } else if (account.serverUrl.empty() && !argument.starts_with("--")) {
            account.serverUrl = argument;
        } else {
            std::fputs(kUsage, err);
            return 2;
        }
    }
    if (account.serverUrl.empty() || account.user.empty()) {
        std::fputs(kUsage, err);
        return 2;
    }
    std::string name = account.name.empty() ? CardDavAccounts::defaultName(account.serverUrl, account.user) : account.name;
    account.password = readPassword(in, err, name);
    if (account.password.empty()) {
        std::fprintf(err, "error: no password given; the account was not added\n");
        return 1;
    }
    std::vector<AddressBookCollection> collections;
    if (SyncFailure failure = CardDavAccounts::add(account, name, collections)) {
        std::fprintf(err, "error: %s\nthe account was not added\n", failure.message.c_str());
        return 1;
    }
    std::fprintf(out, "added the account %s with %zu address book%s:\n", name.c_str(), collections.size(),
                 collections.size() == 1 ? "" : "s");
    for (const AddressBookCollection& collection : collections)
        std::fprintf(out, "  %s  %s\n", collection.displayName.empty() ? "(no name)" : collection.displayName.c_str(),
                     collection.url.c_str());
    std::fprintf(out, "run \"tessaro sync %s\" to bring its cards here\n", name.c_str());
    return 0;
}

} // namespace

int AccountCommands::runAccount(const std::vector<std::string>& arguments, std::FILE* in, std::FILE* out, std::FILE* err)
{
    if (arguments.empty()) {
        std::fputs(kUsage, err);
        return 2;
    }
    const std::string& command = arguments.front();
    if (command == "add")
        return add(arguments, in, out, err);
    if (command == "list" && arguments.size() == 1) {
        std::string why;
        std::vector<AccountRecord> accounts = CardDavAccounts::list(&why);
        if (!why.empty()) {
            std::fprintf(err, "error: %s\n", why.c_str());
            return 1;
        }
        if (accounts.empty())
            std::fprintf(out, "no accounts\n");
        for (const AccountRecord& account : accounts) {
            std::fprintf(out, "%s  %s  user %s%s\n", account.name.c_str(), account.serverUrl.c_str(), account.user.c_str(),
                         account.allowPlainHttp ? "  (plain HTTP allowed)" : "");
            for (const CollectionRecord& collection : CardDavAccounts::collectionsOf(account.name))
                std::fprintf(out, "  %s  %s\n", collection.displayName.c_str(), collection.url.c_str());
        }
        return 0;
    }
    if (command == "remove" && arguments.size() == 2) {
        std::string why;
        if (!CardDavAccounts::remove(arguments[1], &why)) {
            std::fprintf(err, "error: %s\n", why.c_str());
            return 1;
        }
        std::fprintf(out, "removed the account %s and its contacts from this device\n", arguments[1].c_str());
        return 0;
    }
    std::fputs(kUsage, err);
    return 2;
}

int AccountCommands::runSync(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err)
{
    if (arguments.size() > 1) {
        std::fprintf(err, "usage: tessaro sync [NAME]\n");
        return 2;
    }
    std::string name = arguments.empty() ? std::string() : arguments.front();
    if (name.empty() && CardDavAccounts::list().empty()) {
        std::fprintf(out, "no accounts to sync (tessaro account add URL --user NAME adds one)\n");
        return 0;
    }
    auto progress = [out](const CollectionReport& report) {
        if (report.failure) {
            std::fprintf(out, "%s: stopped: %s\n", report.collection.c_str(), report.failure.message.c_str());
        } else {
            std::fprintf(out, "%s: %zu received, %zu sent, %zu deleted here, %zu deleted on the server, %zu merged\n",
                         report.collection.c_str(), report.received, report.sent, report.deletedHere, report.deletedThere,
                         report.merged);
        }
        std::fflush(out);
    };
    bool failed = false;
    for (const AccountReport& report : CardDavAccounts::sync(name, progress)) {
        if (report.failure) {
            failed = true;
            if (report.collections.empty())
                std::fprintf(err, "error: %s: %s\n", report.account.c_str(), report.failure.message.c_str());
        }
    }
    return failed ? 1 : 0;
}

} // namespace contactstore::carddav
