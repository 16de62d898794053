#include "app/LaunchOptions.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "platform/services/MessageComposeViewController.h"

#include <functional>
#include <optional>

namespace tessaro {

namespace {

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
            // Read on a device of its own first, so that a bad value changes nothing.
            foundation::Device check;
            if (!text || !check.setScreenFromText(*text)) {
                error = "--screen needs a size in points such as 320x568 or 320x480 (optionally @1 or @2 for the scale)";
                return false;
            }
            changes.push_back([text = std::string(*text)] {
                (void)foundation::Device::current().setScreenFromText(text);
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
    return "  --device-model M  the handset's model name (\"iPod touch\" cannot phone or text)\n"
           "  --screen WxH[@S]  the screen in points and its scale (320x568 by default; 320x480)\n"
           "  --system-version V\n"
           "                    the system version (7.0 by default; below 7 the older look)\n"
           "  --language L      en, ja, or keys (every text shows its key)\n"
           "  --deny-contacts-access\n"
           "                    the user refuses access to the contacts\n"
           "  --can-send-text   the device can send text messages (a message composer)\n";
}

} // namespace tessaro
