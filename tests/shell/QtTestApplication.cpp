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
