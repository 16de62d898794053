#include "platform/ui/Image.h"

#include "platform/foundation/Log.h"

#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace ui {

namespace {

struct ImageCache {
    std::mutex mutex;
    std::filesystem::path directory { std::filesystem::path(TESSARO_RESOURCES_DIR) / "images" };
    std::map<std::string, std::shared_ptr<const Image>> images;
    std::set<std::string> missing;
};

ImageCache& cache()
{
    static ImageCache instance;
    return instance;
}

std::uint32_t bigEndian32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) | (std::uint32_t(b[at + 2]) << 8) | b[at + 3];
}

std::uint16_t bigEndian16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

std::string formatOf(const std::vector<std::uint8_t>& b)
{
    static const std::uint8_t png[] = { 0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a };
    if (b.size() >= 24 && std::equal(std::begin(png), std::end(png), b.begin()))
        return "png";
    if (b.size() >= 10 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8')
        return "gif";
    if (b.size() >= 4 && b[0] == 0xff && b[1] == 0xd8)
        return "jpeg";
    return {};
}

Size jpegPixelSize(const std::vector<std::uint8_t>& b)
{
    // Walk the segments up to the first start-of-frame marker, which holds the size.
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xff)
            return {};
        std::uint8_t marker = b[at + 1];
        if (marker == 0xff) {
            ++at;
            continue;
        }
        if (marker == 0xd8 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) {
            at += 2;
            continue;
        }
        std::uint16_t length = bigEndian16(b, at + 2);
        if (length < 2)
            return {};
        bool startOfFrame = marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
        if (startOfFrame) {
            if (at + 9 > b.size())
                return {};
            return { double(bigEndian16(b, at + 7)), double(bigEndian16(b, at + 5)) };
        }
        at += 2 + length;
    }
    return {};
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

Size encodedImagePixelSize(const std::vector<std::uint8_t>& b)
{
    auto format = formatOf(b);
    if (format == "png")
        return { double(bigEndian32(b, 16)), double(bigEndian32(b, 20)) };
    if (format == "gif")
        return { double(b[6] | (b[7] << 8)), double(b[8] | (b[9] << 8)) };
    if (format == "jpeg")
        return jpegPixelSize(b);
    return {};
}

Image::Image(std::string name, std::filesystem::path file, double scale)
    : m_name(std::move(name))
    , m_file(std::move(file))
    , m_scale(scale)
{
}

Image::Image(std::string name, std::vector<std::uint8_t> bytes, Size pixelSize, double scale)
    : m_name(std::move(name))
    , m_scale(scale)
{
    std::call_once(m_loaded, [&] {
        m_bytes = std::move(bytes);
        m_pixelSize = pixelSize;
    });
}

void Image::load() const
{
    std::call_once(m_loaded, [this] {
        m_bytes = readFile(m_file);
        m_pixelSize = encodedImagePixelSize(m_bytes);
        if (m_pixelSize.isEmpty())
            foundation::log("image: cannot read the size of " + m_file.string());
    });
}

const std::vector<std::uint8_t>& Image::bytes() const
{
    load();
    return m_bytes;
}

Size Image::size() const
{
    load();
    return { m_pixelSize.width / m_scale, m_pixelSize.height / m_scale };
}

std::string Image::format() const
{
    load();
    return formatOf(m_bytes);
}

std::shared_ptr<const Image> Image::named(const std::string& name)
{
    if (name.empty())
        return nullptr;
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    if (auto found = c.images.find(name); found != c.images.end())
        return found->second;

    std::filesystem::path plain = c.directory / name;
    if (!plain.has_extension())
        plain += ".png";
    std::filesystem::path doubled = plain.parent_path() / (plain.stem().string() + "@2x" + plain.extension().string());

    std::error_code error;
    std::shared_ptr<const Image> image;
    if (std::filesystem::is_regular_file(doubled, error))
        image = std::make_shared<Image>(name, doubled, 2.0);
    else if (std::filesystem::is_regular_file(plain, error))
        image = std::make_shared<Image>(name, plain, 1.0);
    if (!image) {
        if (c.missing.insert(name).second)
            foundation::log("image: no resource named " + name);
        return nullptr;
    }
    c.images.emplace(name, image);
    return image;
}

namespace {
std::mutex g_decodingCheckMutex;
Image::DecodingCheck g_decodingCheck;
}

void Image::setDecodingCheck(DecodingCheck check)
{
    std::lock_guard lock(g_decodingCheckMutex);
    g_decodingCheck = std::move(check);
}

std::shared_ptr<const Image> Image::fromData(std::string name, std::vector<std::uint8_t> bytes, double scale)
{
    auto pixels = encodedImagePixelSize(bytes);
    if (pixels.isEmpty() || !(scale > 0))
        return nullptr;
    auto image = std::make_shared<Image>(std::move(name), std::move(bytes), pixels, scale);
    DecodingCheck check;
    {
        std::lock_guard lock(g_decodingCheckMutex);
        check = g_decodingCheck;
    }
    if (check && !check(*image))
        return nullptr;
    return image;
}

std::filesystem::path Image::resourceDirectory()
{
    std::lock_guard lock(cache().mutex);
    return cache().directory;
}

void Image::setResourceDirectory(const std::filesystem::path& directory)
{
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    c.directory = directory;
    c.images.clear();
    c.missing.clear();
}

} // namespace ui
