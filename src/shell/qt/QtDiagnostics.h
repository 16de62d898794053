#pragma once
// Qt's own diagnostics kept with the program's: what Qt warns about goes to the program's
// log (and so to its log file) rather than to the terminal, and the cause of Qt's most common
// start-up warning, a missing runtime folder, is removed before Qt looks for it.

namespace tessaro {

class QtDiagnostics {
public:
    QtDiagnostics() = delete;

    // From now on Qt's debug, warning and critical messages become log lines; a fatal one
    // is also written to standard error before the program stops, as Qt would.
    static void routeMessagesToLog();

    // A desktop session names a private runtime folder in XDG_RUNTIME_DIR; a bare terminal
    // or a service often does not, and Qt then warns and makes one of its own. Without one
    // named, a private folder in the temporary folder is made (owner-only) and named.
    static void ensureRuntimeDirectory();
};

} // namespace tessaro
