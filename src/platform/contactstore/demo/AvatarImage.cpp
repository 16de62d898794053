#include "platform/contactstore/demo/AvatarImage.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace contactstore::demo {

namespace {

std::uint32_t crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries {};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void appendChunk(std::string& out, std::string_view type, std::string_view data)
{
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string typed(type);
    typed.append(data);
    out += typed;
    appendBigEndian(out, crc32(typed));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string storedZlib(std::string_view raw)
{
    std::string out = "\x78\x01";
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - offset, 65535);
        const bool last = offset + length == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length & 0xFF);
        out += static_cast<char>((~length >> 8) & 0xFF);
        out.append(raw.substr(offset, length));
        offset += length;
    } while (offset < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (char byte : raw) {
        a = (a + static_cast<unsigned char>(byte)) % 65521;
        b = (b + a) % 65521;
    }
    appendBigEndian(out, (b << 16) | a);
    return out;
}

std::uint8_t lighten(std::uint8_t channel)
{
    return static_cast<std::uint8_t>(channel + (255 - channel) * 3 / 5);
}

} // namespace

std::string AvatarImage::png(int size, std::uint32_t backgroundRgb)
{
    size = std::clamp(size, 1, 512);
    const std::uint8_t background[3] = { static_cast<std::uint8_t>(backgroundRgb >> 16),
        static_cast<std::uint8_t>(backgroundRgb >> 8), static_cast<std::uint8_t>(backgroundRgb) };
    const std::uint8_t figure[3] = { lighten(background[0]), lighten(background[1]), lighten(background[2]) };

    std::string raw;
    raw.reserve(static_cast<std::size_t>(size) * (size * 3 + 1));
    const double unit = size / 64.0;
    for (int y = 0; y < size; ++y) {
        raw += '\0'; // no filter on this row
        for (int x = 0; x < size; ++x) {
            const double px = x / unit;
            const double py = y / unit;
            const double headX = px - 32;
            const double headY = py - 24;
            const double bodyX = (px - 32) / 24;
            const double bodyY = (py - 64) / 22;
            const bool inFigure = headX * headX + headY * headY <= 12.0 * 12.0 || bodyX * bodyX + bodyY * bodyY <= 1.0;
            const std::uint8_t* colour = inFigure ? figure : background;
            raw.append(reinterpret_cast<const char*>(colour), 3);
        }
    }

    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(size));
    appendBigEndian(header, static_cast<std::uint32_t>(size));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, no interlace

    std::string out = "\x89PNG\r\n\x1A\n";
    appendChunk(out, "IHDR", header);
    appendChunk(out, "IDAT", storedZlib(raw));
    appendChunk(out, "IEND", {});
    return out;
}

} // namespace contactstore::demo
