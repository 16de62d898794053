#include "shell/qt/Display.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/Image.h"
#include "shell/qt/DecodedImages.h"
#include "shell/qt/DesktopHandoff.h"
#include "shell/qt/QtDiagnostics.h"
#include "shell/qt/QtTextMeasurer.h"
#include "shell/qt/RunLoopBridge.h"
#include "shell/qt/ScreenRenderer.h"
#include "shell/qt/ScreenWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tessaro {

namespace {

bool environmentSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

Display::Display(const char* programName, Surface surface)
    : m_surface(surface)
    , m_programName(programName ? programName : "tessaro")
{
    if (m_surface == Surface::Offscreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (!environmentSet("QT_QPA_PLATFORM")) {
        // A display named in the environment may still refuse us (a server that went away,
        // no permission); Qt then falls back to the offscreen platform instead of aborting,
        // and the program writes a screenshot as it does without a display.
        qputenv("QT_QPA_PLATFORM", environmentSet("WAYLAND_DISPLAY") ? "wayland;xcb;offscreen" : "xcb;offscreen");
    }
    // Point sizes map to whole device pixels at fractional monitor scales too (150%), so
    // the screen is drawn at the monitor's full sharpness rather than blown up.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QtDiagnostics::routeMessagesToLog();
    QtDiagnostics::ensureRuntimeDirectory();
    // Qt is given only the program name: the options are the program's own.
    m_argv[0] = m_programName.data();
    m_application = std::make_unique<QApplication>(m_argc, m_argv);
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        m_surface = Surface::Offscreen;
    QApplication::setApplicationName(QStringLiteral("Tessaro"));
    QApplication::setDesktopFileName(QStringLiteral("tessaro"));
    ui::TextMeasurer::install(std::make_shared<QtTextMeasurer>());
    DecodedImages::installDecodingCheck();
    m_bridge = std::make_unique<RunLoopBridge>(foundation::RunLoop::main(), [this] {
        if (m_widget)
            m_widget->refresh();
    });
}

Display::~Display()
{
    if (m_surface == Surface::Window)
        DesktopHandoff::uninstall();
    m_widget.reset();
    m_bridge.reset();
    // Views measured after this point (while the program tears down) get the simple
    // measurer, which needs no Qt.
    ui::TextMeasurer::install(nullptr);
    ui::Image::setDecodingCheck(nullptr);
    m_application.reset();
}

bool Display::windowSystemAvailable()
{
    return environmentSet("QT_QPA_PLATFORM") || environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY");
}

void Display::setWillEnterForegroundHandler(std::function<void()> handler)
{
    m_foregroundHandler = std::move(handler);
    if (m_widget)
        m_widget->setWillEnterForegroundHandler(m_foregroundHandler);
}

double Display::zoomForMonitor(double pointsHigh, double availablePixels)
{
    if (pointsHigh <= 0 || availablePixels <= 0)
        return 1;
    // Room is left for the window's title bar and the desktop's panels.
    double fitting = (availablePixels * 0.9 - 40) / pointsHigh;
    double stepped = std::floor(fitting * 4) / 4;
    return std::clamp(stepped, 0.5, 2.0);
}

int Display::run(std::shared_ptr<ui::Window> window)
{
    if (!window)
        return 1;
    if (m_surface == Surface::Window)
        DesktopHandoff::install();
    // The handset's home-screen icon stands for the window in the desktop's task list.
    if (auto icon = ui::Image::named("icon_o.png")) {
        QImage picture = DecodedImages::shared().imageFor(*icon);
        if (!picture.isNull())
            QApplication::setWindowIcon(QIcon(QPixmap::fromImage(picture)));
    }
    m_widget = std::make_unique<ScreenWidget>(std::move(window));
    m_widget->setWillEnterForegroundHandler(m_foregroundHandler);
    double zoom = 1;
    if (QScreen* screen = m_widget->screen())
        zoom = zoomForMonitor(m_widget->window().bounds().height(), screen->availableGeometry().height());
    m_widget->resize(m_widget->sizeForZoom(zoom));
    m_widget->show();
    m_bridge->turn();
    int code = QApplication::exec();
    m_widget.reset();
    return code;
}

bool Display::settleAndWriteScreenshot(ui::Window& window, const std::filesystem::path& file, std::string& error,
                                       double maxSeconds)
{
    auto& loop = foundation::RunLoop::main();
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop events;
    QTimer check;
    check.setInterval(50);
    QObject::connect(&check, &QTimer::timeout, &events, [&] {
        auto next = loop.secondsUntilNextEntry();
        bool busySoon = next && *next < 0.5;
        bool atRest = elapsed.elapsed() >= 300 && !busySoon && !window.hasRunningAnimations();
        if (atRest || elapsed.elapsed() >= qint64(maxSeconds * 1000))
            events.quit();
    });
    check.start();
    m_bridge->turn();
    events.exec();
    return ScreenRenderer::writePng(window, file, ui::Screen::mainScreen().scale(), error);
}

} // namespace tessaro
