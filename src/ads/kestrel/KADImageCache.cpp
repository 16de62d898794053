#include "ads/kestrel/KADImageCache.h"

namespace ads {

KADImageCache& KADImageCache::sharedInstance()
{
    static KADImageCache cache;
    return cache;
}

std::shared_ptr<const ui::Image> KADImageCache::cachedImageWithURL(const std::string& url) const
{
    return m_image && url == m_url ? m_image : nullptr;
}

void KADImageCache::storeImage(std::shared_ptr<const ui::Image> image, const std::string& url)
{
    m_image = std::move(image);
    m_url = m_image ? url : std::string();
}

void KADImageCache::clearMemoryCache()
{
    m_image.reset();
    m_url.clear();
}

} // namespace ads
