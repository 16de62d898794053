#include "shell/qt/DecodedImages.h"

#include <QByteArray>

#include <string_view>

namespace tessaro {

DecodedImages& DecodedImages::shared()
{
    static DecodedImages instance;
    return instance;
}

QImage DecodedImages::imageFor(const ui::Image& image)
{
    const auto& bytes = image.bytes();
    if (bytes.empty())
        return {};
    std::size_t hash = std::hash<std::string_view> {}(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    auto [first, last] = m_byHash.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        if (it->second->bytes == bytes) {
            m_entries.splice(m_entries.begin(), m_entries, it->second);
            return it->second->decoded;
        }
    }

    QImage decoded;
    decoded.loadFromData(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    if (!decoded.isNull()) {
        // Premultiplied ARGB is what QPainter draws fastest.
        decoded = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    m_entries.push_front({ hash, bytes, decoded });
    m_byHash.emplace(hash, m_entries.begin());
    m_pixels += std::size_t(decoded.width()) * std::size_t(decoded.height());
    trim();
    return decoded;
}

void DecodedImages::trim()
{
    // The entry just added stays even when it alone is over the budget.
    while (m_pixels > pixelBudget && m_entries.size() > 1) {
        auto& victim = m_entries.back();
        auto [first, last] = m_byHash.equal_range(victim.hash);
        for (auto it = first; it != last; ++it) {
            if (it->second == std::prev(m_entries.end())) {
                m_byHash.erase(it);
                break;
            }
        }
        m_pixels -= std::size_t(victim.decoded.width()) * std::size_t(victim.decoded.height());
        m_entries.pop_back();
    }
}

void DecodedImages::installDecodingCheck()
{
    ui::Image::setDecodingCheck([](const ui::Image& image) { return !shared().imageFor(image).isNull(); });
}

} // namespace tessaro
