#pragma once
// One number row of the group text message: whose number it is, the number exactly as the
// address book holds it with its label, and whether it receives the message.

#include <string>

namespace tessaro {

struct SendSmsPersonObject {
    std::string name;
    std::string number;
    // The address book's label of the number; empty when the person has fewer labels than
    // numbers.
    std::string numberLabel;
    bool isSendSms { true };
};

} // namespace tessaro
