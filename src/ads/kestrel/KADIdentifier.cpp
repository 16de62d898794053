#include "ads/kestrel/KADIdentifier.h"

#include "platform/foundation/Device.h"
#include "platform/foundation/Keychain.h"

#include <openssl/evp.h>
#include <uuid/uuid.h>

namespace ads {

std::string KADIdentifier::md5(std::string_view text)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr) != 1)
        return {};
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        out += hex[digest[i] >> 4];
        out += hex[digest[i] & 0x0f];
    }
    return out;
}

std::string KADIdentifier::IDFAHashString()
{
    const auto& device = foundation::Device::current();
    if (device.systemMajorVersion() < 6 || !device.isAdvertisingTrackingEnabled())
        return {};
    const std::string& identifier = device.advertisingIdentifier();
    if (identifier.empty() || identifier == "00000000-0000-0000-0000-000000000000")
        return {};
    return md5(identifier);
}

std::string KADIdentifier::UIIDHashString()
{
    auto identifier = uniqueInstallationIdentifier();
    return identifier ? md5(*identifier) : std::string();
}

std::optional<std::string> KADIdentifier::uniqueInstallationIdentifier()
{
    if (auto kept = foundation::Keychain::genericPassword(bundleIdentifier, installationAccount))
        return kept;
    uuid_t uuid;
    uuid_generate(uuid);
    char text[37];
    uuid_unparse_upper(uuid, text);
    if (foundation::Keychain::addGenericPassword(bundleIdentifier, installationAccount, text))
        return std::string(text);
    // Another writer may have been first; its identifier is the one that counts.
    return foundation::Keychain::genericPassword(bundleIdentifier, installationAccount);
}

void KADIdentifier::resetUniqueInstallationIdentifier()
{
    foundation::Keychain::deleteGenericPassword(bundleIdentifier, installationAccount);
}

} // namespace ads
