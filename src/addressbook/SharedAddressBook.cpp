#include "addressbook/SharedAddressBook.h"

#include "addressbook/ContactDirectory.h"

#include <mutex>
#include <utility>

namespace tessaro {

namespace {

std::mutex g_mutex;
contactstore::AddressBookRef g_addressBook;

} // namespace

contactstore::AddressBookRef SharedAddressBook::get()
{
    std::lock_guard lock(g_mutex);
    return g_addressBook;
}

void SharedAddressBook::set(contactstore::AddressBookRef addressBook)
{
    contactstore::AddressBookRef previous;
    {
        std::lock_guard lock(g_mutex);
        previous = std::exchange(g_addressBook, std::move(addressBook));
    }
    // What was laid out for the old handle's persons goes with it, or the persons (and
    // through them the file) would outlive the handle. The old handle, if this was its last
    // holder, closes its file outside the lock.
    ContactDirectory::forgetKept();
}

} // namespace tessaro
