#pragma once
// The three-way merge of a card changed on this device and on the server since both last
// agreed on it. Each field is merged on its own: a field only one side changed takes that
// side's value; a field both changed to the same value takes it; a field both changed
// differently keeps both sides' entries where it is a list (phones, mails, members, ...) and
// the server's value otherwise. Every field decided that way is named in a note, so the
// choice can be logged: nothing either side wrote goes silently.

#include "platform/contactstore/vcard/Card.h"

#include <string>
#include <vector>

namespace contactstore::carddav {

struct MergeResult {
    vcard::Card card;
    // One line per field both sides changed: what was kept.
    std::vector<std::string> notes;
};

class CardMerge {
public:
    // base: the card as last agreed (as the server wrote it); localBase: that card as this
    // device holds it (after the address book's round trip), the reference for telling what
    // the device changed; local: the device's card now; remote: the server's card now.
    // What the device cannot hold (categories, property lines no field holds) is the server's.
    static MergeResult merge(const vcard::Card& base, const vcard::Card& localBase, const vcard::Card& local,
                             const vcard::Card& remote);
};

} // namespace contactstore::carddav
