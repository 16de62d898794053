#include "platform/foundation/DateFormatter.h"

#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"

#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>

namespace foundation {

DateFormatter::DateFormatter(const std::string& pattern)
    : DateFormatter(pattern, Device::current().localeIdentifier(), Device::current().timeZone())
{
}

DateFormatter::DateFormatter(const std::string& pattern, const std::string& localeIdentifier, const std::string& timeZone)
{
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(pattern),
                                                          icu::Locale(localeIdentifier.c_str()), status);
    if (U_FAILURE(status)) {
        log("date format: ICU refuses the pattern \"" + pattern + "\": " + u_errorName(status));
        return;
    }
    if (!timeZone.empty()) {
        std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
        if (!zone || *zone == icu::TimeZone::getUnknown())
            log("date format: unknown time zone " + timeZone + ", using the machine's");
        else
            format->adoptTimeZone(zone.release());
    }
    // ICU takes almost any pattern when building the formatter and only fails when it is
    // used; one trial run tells the caller at once.
    icu::UnicodeString trial;
    format->format(0.0, trial, nullptr, status);
    if (U_FAILURE(status)) {
        log("date format: ICU refuses the pattern \"" + pattern + "\": " + u_errorName(status));
        return;
    }
    m_format = std::move(format);
}

DateFormatter::~DateFormatter() = default;
DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;

std::string DateFormatter::format(double secondsSince1970) const
{
    if (!m_format || !std::isfinite(secondsSince1970))
        return {};
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    m_format->format(static_cast<UDate>(secondsSince1970 * 1000.0), text, nullptr, status);
    if (U_FAILURE(status))
        return {};
    std::string result;
    text.toUTF8String(result);
    return result;
}

} // namespace foundation
