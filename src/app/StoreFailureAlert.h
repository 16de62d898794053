#pragma once
// The message a screen shows when the database refused a change the user made: the user must
// learn that it was not kept, rather than see it answered as done.

namespace tessaro {

class StoreFailureAlert {
public:
    StoreFailureAlert() = delete;

    // An alert without title, the text of "StoreFailedMessage" and the one button "OK".
    static void show();
};

} // namespace tessaro
