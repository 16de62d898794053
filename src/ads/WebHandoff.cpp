#include "ads/WebHandoff.h"

#include "ads/URLText.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"

namespace ads {

bool openAdPage(const std::string& url)
{
    if (!URLText::isWebAddress(url)) {
        foundation::log("banner: not a web address, not opened: " + url);
        return false;
    }
    return ui::Application::shared().openURL(url);
}

} // namespace ads
