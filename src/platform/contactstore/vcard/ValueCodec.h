#pragma once
// The small encodings a vCard value can be wrapped in: backslash escapes, structured
// components, quoted-printable, base64 and legacy character sets. Decoders are lenient
// (cards in the wild break every rule once); encoders write only what every reader accepts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace contactstore::vcard::codec {

// Undoes the backslash escapes of a text value: \n and \N are line ends, \\ \, \; \: the
// character itself. An unknown escape keeps its backslash, so a Windows path survives.
std::string unescapeText(std::string_view raw);

// Splits a raw value at every separator that no backslash escapes. The parts stay escaped.
std::vector<std::string_view> splitUnescaped(std::string_view raw, char separator);

// Escapes a text value for writing: backslash, line end, comma and semicolon.
std::string escapeText(std::string_view text);

// Decodes quoted-printable. A malformed "=" sequence is kept as it is rather than dropped.
std::string decodeQuotedPrintable(std::string_view raw);

// Decodes base64, ignoring white space and missing padding; none when a character that
// cannot belong to base64 appears.
std::optional<std::string> decodeBase64(std::string_view raw);
std::string encodeBase64(std::string_view bytes);

// Turns bytes in the named character set into UTF-8 through ICU. With no name, valid
// UTF-8 is taken as it is and anything else as Windows-1252, the usual culprit of old
// exports. None when the character set is unknown.
std::optional<std::string> toUtf8(std::string_view bytes, std::string_view charset);

// Makes text safe to store: invalid UTF-8 becomes U+FFFD, control characters other than
// tab and line end are dropped, and CR LF / CR become LF.
std::string cleanText(std::string_view text);

bool isValidUtf8(std::string_view text);

} // namespace contactstore::vcard::codec
