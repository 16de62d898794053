#pragma once
// A plain-text picture of what the reader made of a file: every field of every card with its
// label, then the warnings and errors with their lines. Golden files hold this picture, so a
// change in reading shows up as a readable difference.

#include "platform/contactstore/vcard/CardReader.h"

#include <functional>
#include <string>

namespace vcardtest {

// more, when given, adds its lines after each card's own.
std::string dump(const contactstore::vcard::ReadResult& result,
    const std::function<std::string(const contactstore::vcard::Card&)>& more = {});
std::string dump(const contactstore::vcard::Card& card);

} // namespace vcardtest
