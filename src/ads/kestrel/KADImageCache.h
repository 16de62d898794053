#pragma once
// Keeps the opt-out icon, so that each new image banner shows its tab at once instead of
// downloading the same small picture again. One image at most, keyed by its address.
// Main thread only.

#include "platform/ui/Image.h"

#include <memory>
#include <string>

namespace ads {

class KADImageCache {
public:
    static KADImageCache& sharedInstance();

    std::shared_ptr<const ui::Image> cachedImageWithURL(const std::string& url) const;
    // Replaces whatever was kept.
    void storeImage(std::shared_ptr<const ui::Image> image, const std::string& url);
    void clearMemoryCache();

private:
    std::string m_url;
    std::shared_ptr<const ui::Image> m_image;
};

} // namespace ads
