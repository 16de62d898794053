#include "platform/contactstore/vcard/ValueCodec.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <memory>

namespace contactstore::vcard::codec {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

constexpr std::string_view kBase64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<signed char, 256> base64Table()
{
    std::array<signed char, 256> table {};
    for (auto& entry : table)
        entry = -1;
    for (std::size_t i = 0; i < kBase64Alphabet.size(); ++i)
        table[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<signed char>(i);
    // URL-safe variants turn up in data URIs written by web tools.
    table[static_cast<unsigned char>('-')] = 62;
    table[static_cast<unsigned char>('_')] = 63;
    return table;
}

// Length of the valid UTF-8 sequence at the start of text, or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view text)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not text.
    if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000) || codePoint > 0x10FFFF
        || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

std::optional<std::string> convertWithIcu(std::string_view bytes, const char* charset)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(charset, &status));
    if (U_FAILURE(status) || !converter)
        return std::nullopt;
    // Every byte makes at most one UTF-16 unit in the single- and multi-byte sets we meet;
    // the surplus covers the few that expand to a surrogate pair.
    std::u16string wide(bytes.size() * 2 + 16, u'\0');
    status = U_ZERO_ERROR;
    const int32_t wideLength = ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()),
        bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    wide.resize(static_cast<std::size_t>(wideLength));

    std::string utf8(wide.size() * 3 + 4, '\0');
    int32_t utf8Length = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(utf8.data(), static_cast<int32_t>(utf8.size()), &utf8Length, wide.data(),
        static_cast<int32_t>(wide.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    utf8.resize(static_cast<std::size_t>(utf8Length));
    return utf8;
}

} // namespace

std::string unescapeText(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c != '\\' || i + 1 == raw.size()) {
            text += c;
            continue;
        }
        const char next = raw[i + 1];
        switch (next) {
        case 'n':
        case 'N':
            text += '\n';
            ++i;
            break;
        case '\\':
        case ',':
        case ';':
        case ':':
            text += next;
            ++i;
            break;
        default:
            text += c;
            break;
        }
    }
    return text;
}

std::vector<std::string_view> splitUnescaped(std::string_view raw, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\') {
            ++i;
            continue;
        }
        if (raw[i] == separator) {
            parts.push_back(raw.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(raw.substr(std::min(start, raw.size())));
    return parts;
}

std::string escapeText(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            break;
        case ',':
            escaped += "\\,";
            break;
        case ';':
            escaped += "\\;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string decodeQuotedPrintable(std::string_view raw)
{
    std::string bytes;
    bytes.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '=' && i + 2 < raw.size()) {
            const int high = hexDigit(raw[i + 1]);
            const int low = hexDigit(raw[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        bytes += raw[i];
    }
    return bytes;
}

std::optional<std::string> decodeBase64(std::string_view raw)
{
    static constexpr auto table = base64Table();
    std::string bytes;
    bytes.reserve(raw.size() / 4 * 3 + 3);
    std::uint32_t buffer = 0;
    int bits = 0;
    bool padding = false;
    for (char c : raw) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '=') {
            padding = true;
            continue;
        }
        const int value = table[static_cast<unsigned char>(c)];
        if (value < 0 || padding)
            return std::nullopt;
        buffer = (buffer << 6) | static_cast<std::uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return bytes;
}

std::string encodeBase64(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    auto at = [&](std::size_t index) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[index])); };
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = (at(i) << 16) | (at(i + 1) << 8) | at(i + 2);
        text += kBase64Alphabet[(group >> 18) & 63];
        text += kBase64Alphabet[(group >> 12) & 63];
        text += kBase64Alphabet[(group >> 6) & 63];
        text += kBase64Alphabet[group & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        const std::uint32_t group = (at(i) << 16) | (rest == 2 ? at(i + 1) << 8 : 0);
        text += kBase64Alphabet[(group >> 18) & 63];
        text += kBase64Alphabet[(group >> 12) & 63];
        text += rest == 2 ? kBase64Alphabet[(group >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

std::optional<std::string> toUtf8(std::string_view bytes, std::string_view charset)
{
    std::string name(charset);
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name.empty()) {
        if (isValidUtf8(bytes))
            return std::string(bytes);
        return convertWithIcu(bytes, "windows-1252");
    }
    if (name == "UTF-8" || name == "UTF8") {
        return std::string(bytes);
    }
    return convertWithIcu(bytes, name.c_str());
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string cleanText(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c == '\r') {
                clean += '\n';
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else if (c >= 0x20 || c == '\n' || c == '\t') {
                if (c != 0x7F)
                    clean += static_cast<char>(c);
            }
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0) {
            clean += "\xEF\xBF\xBD";
            ++i;
        } else {
            clean.append(text.substr(i, length));
            i += length;
        }
    }
    return clean;
}

} // namespace contactstore::vcard::codec
