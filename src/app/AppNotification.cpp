#include "app/AppNotification.h"

#include "addressbook/Contact.h"
#include "platform/foundation/NotificationCenter.h"

namespace tessaro {

void AppNotification::postShowDetail(const Contact& contact)
{
    foundation::NotificationCenter::defaultCenter().postNotification(kName, kNotificationNameShowDetail,
                                                                     { { kContactKey, contact } });
}

void AppNotification::postMemoMail(const std::string& memo)
{
    foundation::NotificationCenter::defaultCenter().postNotification(kName, kNotificationNameMemoMail, { { kMemoKey, memo } });
}

void AppNotification::postMemoSMS(const std::string& memo)
{
    foundation::NotificationCenter::defaultCenter().postNotification(kName, kNotificationNameMemoSMS, { { kMemoKey, memo } });
}

} // namespace tessaro
