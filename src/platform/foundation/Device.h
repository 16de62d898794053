#pragma once
// The facts of the simulated handset: model name, screen, system version, language,
// locale and time zone. Launch options set them once at start-up; everything else reads
// them. Main thread only.

#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class Device {
public:
    static Device& current();

    // "iPhone" by default; "iPod touch" makes the device one that cannot phone or text.
    const std::string& model() const { return m_model; }
    void setModel(std::string model) { m_model = std::move(model); }

    // "7.0" by default. The major version is the leading number, 0 when there is none.
    const std::string& systemVersion() const { return m_systemVersion; }
    void setSystemVersion(std::string version) { m_systemVersion = std::move(version); }
    int systemMajorVersion() const;

    // The screen in points and its scale; pixels are points times scale. 320 × 568 at
    // scale 2 (a 4-inch display of 640 × 1136 pixels) by default.
    int screenWidthPoints() const { return m_screenWidth; }
    int screenHeightPoints() const { return m_screenHeight; }
    double screenScale() const { return m_screenScale; }
    int screenWidthPixels() const;
    int screenHeightPixels() const;
    // Ignores sizes that are not positive and scales below 1.
    void setScreen(int widthPoints, int heightPoints, double scale = 2.0);
    // Takes a launch option's "320x480" (points, at scale 2) or "320x480@1" (with the
    // scale). False, and nothing changed, for anything else.
    [[nodiscard]] bool setScreenFromText(std::string_view text);

    // The user's language: "en", "ja", or the test language "keys". "en" by default.
    const std::string& language() const { return m_language; }
    void setLanguage(std::string language) { m_language = std::move(language); }

    // The ICU locale for formats and collation: chosen by the language unless set
    // explicitly ("en" → "en_US", "ja" → "ja_JP", "keys" → "en_US").
    std::string localeIdentifier() const;
    void setLocaleIdentifier(std::string identifier) { m_localeIdentifier = std::move(identifier); }

    // An Olson time-zone name; empty means the machine's own zone.
    const std::string& timeZone() const { return m_timeZone; }
    void setTimeZone(std::string zone) { m_timeZone = std::move(zone); }

    // The advertising identifier (a UUID text) and the user's switch that lets advertisers
    // use it. An identifier of zeros is what the handset hands out while tracking is limited.
    const std::string& advertisingIdentifier() const { return m_advertisingIdentifier; }
    void setAdvertisingIdentifier(std::string identifier) { m_advertisingIdentifier = std::move(identifier); }
    bool isAdvertisingTrackingEnabled() const { return m_advertisingTrackingEnabled; }
    void setAdvertisingTrackingEnabled(bool enabled) { m_advertisingTrackingEnabled = enabled; }

    // The URL schemes of the other applications installed on the handset ("myapp" for
    // "myapp://"), in lower case; the platform's canOpenURL answers yes for them.
    const std::vector<std::string>& installedURLSchemes() const { return m_installedURLSchemes; }
    void addInstalledURLScheme(std::string_view scheme);
    bool hasInstalledURLScheme(std::string_view scheme) const;

    // Back to the defaults (tests use it between cases).
    void reset();

private:
    std::string m_model { "iPhone" };
    std::string m_systemVersion { "7.0" };
    int m_screenWidth { 320 };
    int m_screenHeight { 568 };
    double m_screenScale { 2.0 };
    std::string m_language { "en" };
    std::string m_localeIdentifier;
    std::string m_timeZone;
    std::string m_advertisingIdentifier { "5B0E1C7A-2F43-4D9E-8A61-93C2D7E4B0F5" };
    bool m_advertisingTrackingEnabled { true };
    std::vector<std::string> m_installedURLSchemes;
};

} // namespace foundation
