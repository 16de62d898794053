#pragma once
// Whether the user lets the application read and change the address book. On the device
// the user answers once; here a launch option (--deny-contacts-access) refuses for the whole
// process. The answer to a request arrives on another thread, as the device's may: whoever
// asks hands the result to the main run loop before touching any view.

#include "platform/contactstore/StoreError.h"

#include <functional>

namespace contactstore {

enum class AuthorizationStatus {
    NotDetermined = 0,
    Restricted = 1,
    Denied = 2,
    Authorized = 3,
};

class AccessControl {
public:
    // Set once at start-up, before any handle is created; safe from any thread.
    static void setAccessRefused(bool refused);
    static bool isAccessRefused();

    static AuthorizationStatus authorizationStatus();

    // Asks for access. The completion runs exactly once, on a thread of its own, with the
    // answer and, when refused, an AccessDenied error. Every answer has been delivered by
    // the time the process exits.
    using Completion = std::function<void(bool granted, const Error& error)>;
    static void requestAccess(Completion completion);
};

} // namespace contactstore
