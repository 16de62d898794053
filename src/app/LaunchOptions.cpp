#include "app/LaunchOptions.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "platform/services/MessageComposeViewController.h"

#include <charconv>
#include <functional>
#include <optional>

namespace tessaro {

namespace {

struct Screen {
    int width { 0 };
    int height { 0 };
    double scale { 2.0 };
};

std::optional<int> positiveNumber(std::string_view text)
{
    int value = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value <= 0 || value > 10000)
        return std::nullopt;
    return value;
}

// "320x480", optionally with a scale: "320x480@1".
std::optional<Screen> parseScreen(std::string_view text)
{
    Screen screen;
    auto at = text.find('@');
    if (at != std::string_view::npos) {
        auto scale = positiveNumber(text.substr(at + 1));
        if (!scale || *scale > 4)
            return std::nullopt;
        screen.scale = *scale;
        text = text.substr(0, at);
    }
    auto cross = text.find('x');
    if (cross == std::string_view::npos)
        return std::nullopt;
    auto width = positiveNumber(text.substr(0, cross));
    auto height = positiveNumber(text.substr(cross + 1));
    if (!width || !height)
        return std::nullopt;
    screen.width = *width;
    screen.height = *height;
    return screen;
}

bool isVersion(std::string_view text)
{
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return false;
    for (char c : text) {
        if ((c < '0' || c > '9') && c != '.')
            return false;
    }
    return true;
}

} // namespace

bool LaunchOptions::apply(std::vector<std::string_view>& args, std::string& error)
{
    std::vector<std::function<void()>> changes;
    std::vector<std::string_view> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (option == "--device-model") {
            auto model = value();
            if (!model) {
                error = "--device-model needs a model name, for example \"iPhone\" or \"iPod touch\"";
                return false;
            }
            changes.push_back([model = std::string(*model)] { foundation::Device::current().setModel(model); });
        } else if (option == "--screen") {
            auto text = value();
            auto screen = text ? parseScreen(*text) : std::nullopt;
            if (!screen) {
                error = "--screen needs a size in points such as 320x568 or 320x480 (optionally @1 or @2 for the scale)";
                return false;
            }
            changes.push_back([screen = *screen] {
                foundation::Device::current().setScreen(screen.width, screen.height, screen.scale);
            });
        } else if (option == "--system-version") {
            auto version = value();
            if (!version || !isVersion(*version)) {
                error = "--system-version needs a version number such as 6.1 or 7.0";
                return false;
            }
            changes.push_back([version = std::string(*version)] { foundation::Device::current().setSystemVersion(version); });
        } else if (option == "--language") {
            auto language = value();
            if (!language || (*language != "en" && *language != "ja" && *language != "keys")) {
                error = "--language needs one of en, ja or keys";
                return false;
            }
            changes.push_back([language = std::string(*language)] { foundation::Device::current().setLanguage(language); });
        } else if (option == "--deny-contacts-access") {
            changes.push_back([] { contactstore::AccessControl::setAccessRefused(true); });
        } else if (option == "--can-send-text") {
            changes.push_back([] { services::MessageComposeViewController::setCanSendText(true); });
        } else {
            rest.push_back(option);
        }
    }
    for (const auto& change : changes)
        change();
    args = std::move(rest);
    return true;
}

const char* LaunchOptions::usage()
{
    return "  --device-model NAME     the handset's model name (\"iPod touch\" cannot phone or text)\n"
           "  --screen WxH[@S]        the screen in points and its scale (320x568 by default, 320x480)\n"
           "  --system-version V      the system version (7.0 by default; below 7 the older look)\n"
           "  --language L            en, ja, or keys (every text shows its key)\n"
           "  --deny-contacts-access  the user refuses access to the contacts\n"
           "  --can-send-text         the device can send text messages (a message composer)\n";
}

} // namespace tessaro
