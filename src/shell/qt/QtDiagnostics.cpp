#include "shell/qt/QtDiagnostics.h"

#include "platform/foundation/Log.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace tessaro {

namespace {

void messageToLog(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    std::string line = message.toStdString();
    foundation::log(line);
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::abort();
    }
}

// A folder of ours alone: made by this user and readable by no one else, as a runtime
// folder must be.
bool isPrivateFolder(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::getuid()
        && (status.st_mode & 0777) == 0700;
}

} // namespace

void QtDiagnostics::routeMessagesToLog()
{
    qInstallMessageHandler(messageToLog);
}

void QtDiagnostics::ensureRuntimeDirectory()
{
    if (const char* named = std::getenv("XDG_RUNTIME_DIR"); named && *named)
        return;
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error)
        temporary = "/tmp";
    std::string folder = (temporary / ("tessaro-runtime-" + std::to_string(::getuid()))).string();
    ::mkdir(folder.c_str(), 0700);
    // Someone else's folder of that name is never used: Qt then makes its own, as before.
    if (isPrivateFolder(folder))
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

} // namespace tessaro
