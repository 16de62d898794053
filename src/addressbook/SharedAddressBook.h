#pragma once
// The address-book handle that every wrapper call goes through. The application's shared
// object creates it at launch and replaces it when the application returns to the
// foreground (so changes made elsewhere are seen); the wrappers only read it. Holders of the
// old handle keep it alive for as long as they use it.

#include "platform/contactstore/Forward.h"

namespace tessaro {

class SharedAddressBook {
public:
    // The handle in force; null before one is set or when the store could not be opened.
    // Safe from any thread.
    static contactstore::AddressBookRef get();
    static void set(contactstore::AddressBookRef addressBook);
};

} // namespace tessaro
