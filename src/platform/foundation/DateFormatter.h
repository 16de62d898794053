#pragma once
// Formats instants with an ICU date pattern ("M/d h:mm a") in a locale and a time zone,
// by default the device's (Device::localeIdentifier(), Device::timeZone()). The ICU
// formatter is built once, when the object is made; keep the object to format many dates.

#include <unicode/uversion.h>

#include <memory>
#include <string>

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

namespace foundation {

class DateFormatter {
public:
    explicit DateFormatter(const std::string& pattern);
    // An empty time zone is the machine's own; an unknown one falls back to it (logged).
    DateFormatter(const std::string& pattern, const std::string& localeIdentifier, const std::string& timeZone);
    ~DateFormatter();
    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;

    // False when ICU refused the pattern; format() then gives the empty text.
    bool isValid() const { return m_format != nullptr; }

    // The instant, in seconds since 1 January 1970 (UTC), as the pattern says.
    std::string format(double secondsSince1970) const;

private:
    std::unique_ptr<icu::SimpleDateFormat> m_format;
};

} // namespace foundation
