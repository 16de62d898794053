#pragma once
// The running application as the platform sees it: its key window and the hand-off of
// URLs (telephone, messages, mail, FaceTime, web) to the rest of the device.
//
// URLs handed off are recorded (tests and the automation driver read them back) and then
// given to a pluggable opener: the display installs one that asks the desktop. Without an
// opener a well-formed URL counts as opened.
//
// Ownership: the application does not own windows; the key window is a plain reference
// that a window clears when it goes. Main thread only.

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Window;

class Application {
public:
    using URLHandler = std::function<bool(const std::string& url)>;

    static Application& shared();

    Window* keyWindow() const { return m_keyWindow; }

    // Hands the URL to the device. False for text that is not a URL (a space, a line break
    // or a letter outside ASCII, unescaped) — such a URL is neither recorded nor opened —
    // and when the opener refuses it.
    bool openURL(const std::string& url);
    // Whether some application of the device takes the URL: web and mail addresses always;
    // telephone and messages only on a device that can phone (not an iPod touch); FaceTime
    // always; another application's scheme when the device has it installed
    // (Device::installedURLSchemes). An installed checker decides instead, when there is one.
    bool canOpenURL(const std::string& url) const;

    // Every URL handed off, oldest first; take empties the record.
    const std::vector<std::string>& openedURLs() const { return m_openedURLs; }
    std::vector<std::string> takeOpenedURLs();

    void setURLOpener(URLHandler opener) { m_opener = std::move(opener); }
    void setCanOpenURLChecker(URLHandler checker) { m_checker = std::move(checker); }

    // Forgets the record, the opener and the checker (tests use it between cases).
    void reset();

    // The text is a URL the platform would accept: a scheme, then only characters a URL
    // may hold as they are, with every "%" starting an escape.
    static bool isWellFormedURL(const std::string& url);
    // The scheme in lower case ("tel" for "tel://123"), empty when there is none.
    static std::string schemeOf(const std::string& url);

private:
    friend class Window;
    void setKeyWindow(Window* window) { m_keyWindow = window; }
    void windowWillGo(const Window& window);

    Window* m_keyWindow { nullptr };
    std::vector<std::string> m_openedURLs;
    URLHandler m_opener;
    URLHandler m_checker;
};

} // namespace ui
