#include "QtTestApplication.h"

#include "platform/ui/TextMeasurer.h"
#include "shell/qt/QtTextMeasurer.h"

#include <QApplication>

namespace shelltest {

QApplication& qtApplication()
{
    static int argc = 1;
    static char name[] = "shell_tests";
    static char* argv[] = { name, nullptr };
    static QApplication* application = [] {
        // Run straight from a shell too, not only under CTest, which sets the platform.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *application;
}

QtMeasurerInstalled::QtMeasurerInstalled()
{
    qtApplication();
    ui::TextMeasurer::install(std::make_shared<tessaro::QtTextMeasurer>());
}

QtMeasurerInstalled::~QtMeasurerInstalled()
{
    ui::TextMeasurer::install(nullptr);
}

} // namespace shelltest

// Fontconfig keeps the font patterns Qt asked it for until the process ends and never
// frees them (Qt does not call FcFini); they are not ours to fix, and the leak checker
// would otherwise bury any real leak of the display under them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
