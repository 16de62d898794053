#include "app/LaunchOptions.h"

#include "app/AdEndpoints.h"
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
        } else if (option == "--ad-server" || option == "--kestrel-server" || option == "--admob-server"
                   || option == "--platform-ad-server") {
            auto server = value();
            std::string address = server ? ads::AdEndpoints::normalized(*server) : std::string();
            if (address.empty()) {
                error = std::string(option) + " needs an http or https address such as http://127.0.0.1:8080";
                return false;
            }
            changes.push_back([option = std::string(option), address] {
                auto& endpoints = ads::AdEndpoints::current();
                if (option == "--ad-server")
                    endpoints.setAll(address);
                else if (option == "--kestrel-server")
                    endpoints.kestrelServer = address;
                else if (option == "--admob-server")
                    endpoints.admobServer = address;
                else
                    endpoints.platformServer = address;
            });
        } else if (option == "--advertising-id") {
            auto identifier = value();
            if (!identifier || identifier->empty()) {
                error = "--advertising-id needs an identifier such as 5B0E1C7A-2F43-4D9E-8A61-93C2D7E4B0F5";
                return false;
            }
            changes.push_back([identifier = std::string(*identifier)] {
                foundation::Device::current().setAdvertisingIdentifier(identifier);
            });
        } else if (option == "--limit-ad-tracking") {
            changes.push_back([] { foundation::Device::current().setAdvertisingTrackingEnabled(false); });
        } else if (option == "--installed-app") {
            auto scheme = value();
            if (!scheme || scheme->empty() || scheme->front() == ':') {
                error = "--installed-app needs the application's URL scheme, for example myapp";
                return false;
            }
            changes.push_back([scheme = std::string(*scheme)] { foundation::Device::current().addInstalledURLScheme(scheme); });
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
           "  --can-send-text   the device can send text messages (a message composer)\n"
           "  --ad-server URL   where the banners come from (all three networks); or one each:\n"
           "                    --kestrel-server, --admob-server, --platform-ad-server URL.\n"
           "                    Without one the slot keeps its \"Ad\" placeholder\n"
           "  --advertising-id ID\n"
           "                    the device's advertising identifier; --limit-ad-tracking turns\n"
           "                    its use off\n"
           "  --installed-app SCHEME\n"
           "                    another application on the device, by its URL scheme (repeatable)\n";
}

} // namespace tessaro
