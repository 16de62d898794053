#pragma once
// The one way an ad leaves the application: its page handed to the device's browser. Only
// a web address (http or https) goes; anything else an ad names (a telephone number, a
// script, another application's scheme) is logged and dropped, so no banner can dial,
// message or start another application by itself.

#include <string>

namespace ads {

// Hands the page to the device; false, with a log line, when it is not a web address or
// the device refuses it.
bool openAdPage(const std::string& url);

} // namespace ads
