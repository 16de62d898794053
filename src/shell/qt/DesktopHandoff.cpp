#include "shell/qt/DesktopHandoff.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/Pasteboard.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace tessaro {

namespace {

QMetaObject::Connection& clipboardConnection()
{
    static QMetaObject::Connection connection;
    return connection;
}

} // namespace

void DesktopHandoff::install()
{
    ui::Application::shared().setURLOpener(
        [](const std::string& url) { return openOnDesktop(url, &DesktopHandoff::desktopHandlesScheme); });
    joinPasteboardToClipboard();
}

void DesktopHandoff::uninstall()
{
    ui::Application::shared().setURLOpener(nullptr);
    separatePasteboardFromClipboard();
}

void DesktopHandoff::joinPasteboardToClipboard()
{
    separatePasteboardFromClipboard();
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto& pasteboard = ui::Pasteboard::generalPasteboard();
    pasteboard.setChangeHandler([clipboard](const std::string& text) {
        QString copied = QString::fromStdString(text);
        if (clipboard->text() != copied)
            clipboard->setText(copied);
    });
    // Each side leaves the other alone when it already holds the text, so a change does not
    // echo back and forth.
    clipboardConnection() = QObject::connect(clipboard, &QClipboard::dataChanged, clipboard, [clipboard] {
        auto& board = ui::Pasteboard::generalPasteboard();
        std::string text = clipboard->text().toStdString();
        if (clipboard->mimeData() && clipboard->mimeData()->hasText() && board.string() != text)
            board.setString(text);
    });
    // Text copied on the desktop before the application started is there to paste too.
    if (clipboard->mimeData() && clipboard->mimeData()->hasText())
        pasteboard.setString(clipboard->text().toStdString());
}

void DesktopHandoff::separatePasteboardFromClipboard()
{
    ui::Pasteboard::generalPasteboard().setChangeHandler(nullptr);
    if (clipboardConnection())
        QObject::disconnect(clipboardConnection());
    clipboardConnection() = {};
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
