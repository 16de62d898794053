// The tessaro program: starts the application, or runs one of its command-line subcommands.

#include "app/DemoDatabase.h"
#include "app/LaunchOptions.h"
#include "app/TessaroAppDelegate.h"
#include "main/Composition.h"
#include "platform/automation/AutomationSession.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/carddav/AccountCommands.h"
#include "platform/contactstore/demo/DemoBook.h"
#include "platform/contactstore/vcard/VcardCommands.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "shell/qt/Display.h"
#include "shell/qt/ScreenRenderer.h"

#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

void printUsage()
{
    std::puts("usage: tessaro [options]            start the application\n"
              "       tessaro --version            print the program's version\n"
              "       tessaro paths [options]      print where the profile's files live\n"
              "       tessaro import FILE...       add the persons and groups of vCard files (all or none;\n"
              "                                    \"-\": standard input)\n"
              "       tessaro export FILE          write the address book as vCard 3.0 (\"-\": standard output;\n"
              "                                    --vcard-version 4.0 for 4.0)\n"
              "       tessaro account add URL --user NAME [--name NAME] [--allow-http] [--cacert FILE]\n"
              "                                    remember a CardDAV account (password asked, or the\n"
              "                                    first line of standard input); plain HTTP only to\n"
              "                                    this machine unless --allow-http\n"
              "       tessaro account list | account remove NAME\n"
              "       tessaro sync [NAME]          sync the CardDAV accounts (or one) both ways\n"
              "\n"
              "options:\n"
              "  --profile DIR     keep the profile in DIR instead of ~/.local/share/tessaro\n"
              "  --demo            give a profile without an address book a sample one\n"
              "  --screenshot FILE write the screen as a PNG instead of opening a window (with\n"
              "                    --automation: the last screen, when the session ends)\n"
              "  --automation      no window: read JSON commands on standard input, answer each on\n"
              "                    standard output (see README); --real-clock lets time run by itself\n"
              "  --log-to-terminal also write the diagnostic lines to standard error (they always go\n"
              "                    to tessaro.log in the profile)");
    std::fputs(tessaro::LaunchOptions::usage(), stdout);
}

// Starts the application as the handset would: the delegate makes the shared state, the
// database, the window with the root screen made of the program's screens, and asks for
// access to the contacts.
std::unique_ptr<tessaro::TessaroAppDelegate> launchApplication()
{
    auto delegate = std::make_unique<tessaro::TessaroAppDelegate>(tessaro::composition::rootScreens());
    delegate->didFinishLaunchingWithOptions();
    return delegate;
}

// Shows the key window until it is closed; or, asked for a screenshot or without a display
// to open a window on, writes the screen as a PNG and says where.
int runDisplay(const char* programName, std::optional<std::filesystem::path> screenshot)
{
    bool windowSystem = tessaro::Display::windowSystemAvailable();
    tessaro::Display display(programName, screenshot || !windowSystem ? tessaro::Display::Surface::Offscreen
                                                                      : tessaro::Display::Surface::Window);
    // A display named in the environment that cannot be reached counts as none.
    bool offscreen = display.surface() == tessaro::Display::Surface::Offscreen;
    auto application = launchApplication();
    display.setWillEnterForegroundHandler([&application] { application->applicationWillEnterForeground(); });
    auto window = application->window();
    if (!offscreen)
        return display.run(window);

    if (!screenshot) {
        screenshot = foundation::DataLocations::profileDirectory() / "screenshot.png";
        std::fprintf(stderr,
                     "tessaro: no display to open a window on (none in DISPLAY or WAYLAND_DISPLAY, or it\n"
                     "         cannot be reached);\n"
                     "         writing a screenshot of the first screen instead. Run it in a desktop session\n"
                     "         or under xvfb-run for the window, or choose the file with --screenshot FILE.\n");
    }
    std::string error;
    if (!display.settleAndWriteScreenshot(*window, *screenshot, error)) {
        std::fprintf(stderr, "tessaro: %s\n", error.c_str());
        return 1;
    }
    std::printf("screenshot written to %s\n", std::filesystem::absolute(*screenshot).c_str());
    return 0;
}

// An automation session whose last screen is written as a PNG when the session ends: the
// way to shoot any screen without a display. Texts are measured with the display's fonts,
// so the frames in the dump are the ones the picture shows.
int runAutomationWithScreenshot(const char* programName, const std::filesystem::path& file,
                                const tessaro::AutomationOptions& options, const tessaro::AutomationLaunch& launch)
{
    tessaro::Display display(programName, tessaro::Display::Surface::Offscreen);
    std::shared_ptr<ui::Window> window;
    int status = tessaro::runAutomationSession(std::cin, std::cout, options, [&] {
        tessaro::AutomationTarget target = launch();
        window = target.window;
        return target;
    });
    if (!window) {
        std::fprintf(stderr, "tessaro: no screen to write\n");
        return status != 0 ? status : 1;
    }
    std::string error;
    if (!tessaro::ScreenRenderer::writePng(*window, file, ui::Screen::mainScreen().scale(), error)) {
        std::fprintf(stderr, "tessaro: %s\n", error.c_str());
        return 1;
    }
    // Standard output carries the session's answers only.
    std::fprintf(stderr, "screenshot written to %s\n", std::filesystem::absolute(file).c_str());
    return status;
}

// Sends the log to tessaro.log in the profile and, only when asked, to the terminal too.
// A log file that cannot be written leaves the lines on the terminal, so none is lost.
void startLogFile(bool logToTerminal)
{
    std::string error;
    if (!foundation::setLogFile(foundation::DataLocations::logFile(), error)) {
        std::fprintf(stderr, "tessaro: %s; diagnostics go to the terminal\n", error.c_str());
        return;
    }
    foundation::setLogToStandardError(logToTerminal);
    // One log holds many starts; each begins with this line.
    foundation::log("tessaro " TESSARO_VERSION " starts");
}

// Opening a long list or answering a keystroke makes and drops arrays of hundreds of
// thousands of entries. Handed back to the system when freed, their memory comes back as
// fresh pages whose first touch costs a fault each, a third of the time of opening a list of
// 200,000 persons. Kept by the allocator, it is reused at once.
void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

} // namespace

int main(int argc, char** argv)
{
    keepFreedMemoryForReuse();
    std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string optionError;
    if (!tessaro::LaunchOptions::apply(args, optionError)) {
        std::fprintf(stderr, "tessaro: %s\n", optionError.c_str());
        return 2;
    }
    std::vector<std::string_view> rest;
    bool demo = false;
    std::optional<std::filesystem::path> screenshot;
    bool automation = false;
    tessaro::AutomationOptions automationOptions;
    bool logToTerminal = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--profile" && i + 1 < args.size()) {
            foundation::DataLocations::setProfileDirectory(std::string(args[++i]));
        } else if (args[i] == "--demo") {
            demo = true;
        } else if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = std::filesystem::path(std::string(args[++i]));
        } else if (args[i] == "--automation") {
            automation = true;
        } else if (args[i] == "--real-clock") {
            automationOptions.realClock = true;
        } else if (args[i] == "--log-to-terminal") {
            logToTerminal = true;
        } else if (args[i] == "--help" || args[i] == "-h") {
            printUsage();
            return 0;
        } else if (args[i] == "--version") {
            std::printf("tessaro %s\n", TESSARO_VERSION);
            return 0;
        } else if (rest.empty() && args[i].size() > 1 && args[i].front() == '-') {
            // Options after a subcommand are the subcommand's own (export --vcard-version).
            bool needsValue = args[i] == "--profile" || args[i] == "--screenshot";
            std::fprintf(stderr, needsValue ? "tessaro: %s needs a value\n" : "tessaro: unknown option %s\n",
                         std::string(args[i]).c_str());
            std::fprintf(stderr, "(tessaro --help lists the options)\n");
            return 2;
        } else {
            rest.push_back(args[i]);
        }
    }

    // The application's diagnostics go to its log file, as a desktop program's do; the
    // subcommands are terminal tools and say what they have to say there.
    if (rest.empty())
        startLogFile(logToTerminal);
    if (demo) {
        contactstore::Error error;
        const auto result = contactstore::demo::DemoBook::fillIfEmpty(contactstore::AddressBook::create(&error));
        // A sample book added (or one that could not be) is news; a profile that already has
        // a book, as on every start after the first, is only worth a log line.
        std::string said = "--demo: " + (error ? error.description : result.message);
        if (result.filled || error)
            std::fprintf(stderr, "%s\n", said.c_str());
        else
            foundation::log(said);
        // A fresh sample book gets the application's own sample rows beside it.
        if (result.filled)
            std::fprintf(stderr, "--demo: %s\n", tessaro::DemoDatabase::fill().c_str());
    }
    if (!rest.empty() && (rest.front() == "import" || rest.front() == "export")) {
        const std::vector<std::string> arguments(rest.begin() + 1, rest.end());
        return rest.front() == "import" ? contactstore::vcard::VcardCommands::runImport(arguments, stdout, stderr)
                                        : contactstore::vcard::VcardCommands::runExport(arguments, stdout, stderr);
    }
    if (!rest.empty() && (rest.front() == "account" || rest.front() == "sync")) {
        const std::vector<std::string> arguments(rest.begin() + 1, rest.end());
        return rest.front() == "account" ? contactstore::carddav::AccountCommands::runAccount(arguments, stdin, stdout, stderr)
                                         : contactstore::carddav::AccountCommands::runSync(arguments, stdout, stderr);
    }
    if (!rest.empty() && rest.front() == "paths") {
        using foundation::DataLocations;
        std::printf("profile       %s\n", DataLocations::profileDirectory().c_str());
        std::printf("database      %s\n", (DataLocations::documentsDirectory() / "Vantel.db").c_str());
        std::printf("address book  %s\n", (DataLocations::addressBookDirectory() / "AddressBook.sqlite").c_str());
        std::printf("log           %s\n", DataLocations::logFile().c_str());
        return 0;
    }
    if (automation && rest.empty()) {
        // The same application as in the window; it lives until the session has ended.
        std::unique_ptr<tessaro::TessaroAppDelegate> application;
        // Standard output carries the answers, so the session keeps log lines off standard
        // error; asked to, a listener mirrors them there all the same.
        if (logToTerminal)
            foundation::addLogListener([](std::string_view line) { std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data()); });
        tessaro::AutomationLaunch launch = [&application] {
            application = launchApplication();
            return tessaro::AutomationTarget { application->window(),
                                               [&application] { application->applicationWillEnterForeground(); } };
        };
        if (screenshot)
            return runAutomationWithScreenshot(argv[0], *screenshot, automationOptions, launch);
        return tessaro::runAutomationSession(std::cin, std::cout, automationOptions, launch);
    }
    if (rest.empty())
        return runDisplay(argv[0], screenshot);
    if (automation)
        std::fprintf(stderr, "tessaro: --automation drives the application and takes no command\n");
    else
        std::fprintf(stderr, "tessaro: unknown command %s\n", std::string(rest.front()).c_str());
    std::fprintf(stderr, "(tessaro --help lists the commands)\n");
    return 2;
}
