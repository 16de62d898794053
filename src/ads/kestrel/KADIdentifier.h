#pragma once
// The two hashed identifiers every kestrel request carries, so the network can count
// installations and honour opt-outs without learning the identifiers themselves: the
// advertising identifier (while the user allows tracking) and an identifier made once per
// installation and kept in the keychain. Both are MD5 digests in lower-case hexadecimal.

#include <optional>
#include <string>
#include <string_view>

namespace ads {

class KADIdentifier {
public:
    KADIdentifier() = delete;

    // The keychain item of the installation identifier: its service is the application's
    // bundle identifier, its account "uniqueInstallationIdentifier".
    static constexpr const char* bundleIdentifier = "jp.tessaro.Tessaro";
    static constexpr const char* installationAccount = "uniqueInstallationIdentifier";

    // 32 lower-case hexadecimal digits of the MD5 digest of the text's UTF-8 bytes.
    static std::string md5(std::string_view text);
    // Empty before system 6, while tracking is limited, or for an empty or all-zero
    // advertising identifier; else md5 of the identifier.
    static std::string IDFAHashString();
    // md5 of the installation identifier; empty when none can be kept.
    static std::string UIIDHashString();

    // The installation identifier: read from the keychain, or made (a new upper-case UUID
    // text) and stored there; empty when storing fails.
    static std::optional<std::string> uniqueInstallationIdentifier();
    static void resetUniqueInstallationIdentifier();
};

} // namespace ads
