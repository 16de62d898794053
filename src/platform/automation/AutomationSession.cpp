#include "platform/automation/AutomationSession.h"

#include "platform/automation/Driver.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Window.h"

#include <istream>
#include <ostream>
#include <string>

namespace tessaro {

int runAutomationSession(std::istream& input, std::ostream& output, const AutomationOptions& options,
                         const AutomationLaunch& launch)
{
    auto& loop = foundation::RunLoop::main();
    if (!options.realClock)
        loop.useManualClock(0);
    // Standard output carries the answers only; log lines wait for the "log" command.
    foundation::setLogToStandardError(false);
    // The driver listens before the screens start, so their first log lines are kept too.
    Driver driver;
    AutomationTarget target = launch();
    driver.setForegroundHandler(target.enterForeground);
    driver.execute({ { "cmd", "advance" }, { "seconds", 0 } });

    std::string line;
    while (!driver.quitRequested() && std::getline(input, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        output << driver.run(line) << '\n';
        output.flush();
    }
    return 0;
}

} // namespace tessaro
