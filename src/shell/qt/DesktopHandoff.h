#pragma once
// Hands what the application gives to the device over to the desktop: URLs (telephone,
// messages, mail, FaceTime, web) go to the desktop's handlers through Qt's desktop
// services, and the device's pasteboard is the desktop's clipboard, both ways (a memo
// copied in the application pastes anywhere; text copied anywhere is what the application
// finds on its pasteboard).
//
// A URL whose scheme no desktop application claims is reported back as not opened, so the
// application can say so, instead of vanishing into a launcher that fails later.

#include <functional>
#include <string>

namespace tessaro {

class DesktopHandoff {
public:
    // Whether some desktop application is registered for the scheme ("tel", "https").
    using SchemeChecker = std::function<bool(const std::string& scheme)>;

    // Makes the UI layer's Application hand its URLs to the desktop, and joins the general
    // pasteboard to the clipboard. Needs the QGuiApplication.
    static void install();
    // Puts the UI layer back to recording URLs and keeping its pasteboard to itself.
    static void uninstall();

    // The pasteboard and the clipboard alone, for tests on the offscreen platform.
    static void joinPasteboardToClipboard();
    static void separatePasteboardFromClipboard();

    // Opens the URL on the desktop. False when it is not a URL Qt can read, when no
    // application claims its scheme, or when the desktop refuses it.
    [[nodiscard]] static bool openOnDesktop(const std::string& url, const SchemeChecker& checker);

    // The freedesktop answer: `xdg-mime query default x-scheme-handler/<scheme>` names a
    // handler. When xdg-mime itself is missing the answer is yes, and the launcher decides.
    static bool desktopHandlesScheme(const std::string& scheme);
};

} // namespace tessaro
