#pragma once
// The one app-wide notification: messages between screens of different tabs and the root
// travel as a post named "Contact" whose object names the action and whose user info holds
// the payload. The root controller is its only observer.
//
//   kNotificationNameShowDetail  {"contact": Contact}       show the person over everything
//   kNotificationNameMemoMail    {"memo": std::string}      mail a memo
//   kNotificationNameMemoSMS     {"memo": std::string}      send a memo as a text message

#include <string>

namespace tessaro {

class Contact;

class AppNotification {
public:
    AppNotification() = delete;

    static constexpr const char* kName = "Contact";
    static constexpr const char* kNotificationNameShowDetail = "kNotificationNameShowDetail";
    static constexpr const char* kNotificationNameMemoMail = "kNotificationNameMemoMail";
    static constexpr const char* kNotificationNameMemoSMS = "kNotificationNameMemoSMS";
    static constexpr const char* kContactKey = "contact";
    static constexpr const char* kMemoKey = "memo";

    // Posts on the default centre, synchronously.
    static void postShowDetail(const Contact& contact);
    static void postMemoMail(const std::string& memo);
    static void postMemoSMS(const std::string& memo);
};

} // namespace tessaro
