#include "shell/qt/DesktopHandoff.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace tessaro {

void DesktopHandoff::install()
{
    ui::Application::shared().setURLOpener(
        [](const std::string& url) { return openOnDesktop(url, &DesktopHandoff::desktopHandlesScheme); });
}

void DesktopHandoff::uninstall()
{
    ui::Application::shared().setURLOpener(nullptr);
}

bool DesktopHandoff::openOnDesktop(const std::string& url, const SchemeChecker& checker)
{
    QUrl qurl(QString::fromStdString(url), QUrl::StrictMode);
    if (!qurl.isValid() || qurl.scheme().isEmpty()) {
        foundation::log("openURL: the desktop cannot read " + url);
        return false;
    }
    std::string scheme = qurl.scheme().toLower().toStdString();
    if (checker && !checker(scheme)) {
        foundation::log("openURL: no desktop application opens " + scheme + ": addresses");
        return false;
    }
    if (!QDesktopServices::openUrl(qurl)) {
        foundation::log("openURL: the desktop refused " + url);
        return false;
    }
    return true;
}

bool DesktopHandoff::desktopHandlesScheme(const std::string& scheme)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                { QStringLiteral("query"), QStringLiteral("default"),
                  QStringLiteral("x-scheme-handler/") + QString::fromStdString(scheme) });
    if (!query.waitForStarted(2000))
        return true;
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(500);
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace tessaro
