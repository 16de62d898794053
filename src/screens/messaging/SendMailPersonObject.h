#pragma once
// One address row of the group mail: whose address it is, the address with its label, and
// which recipient list it goes into. A person without any address still has one row, the
// placeholder, with an empty address, no label and nowhere to go.

#include <optional>
#include <string>

namespace tessaro {

struct SendMailPersonObject {
    // Where the address goes; the value is also the index of the row's segment.
    enum SendType { kSendTo = 0, kSendCc = 1, kSendBcc = 2, kSendNone = 3 };

    std::string name;
    std::string mail;
    // The address book's label of the address; empty when the person has fewer labels than
    // addresses, none on the placeholder row.
    std::optional<std::string> mailLabels;
    int sendType { kSendNone };

    bool hasMail() const { return !mail.empty(); }
};

} // namespace tessaro
