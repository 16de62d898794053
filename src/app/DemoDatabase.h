#pragma once
// What the application's own database holds in a sample profile (--demo), beside the
// sample address book: a few favourites, a few memos and a colour for every group, so that
// a first look at the application shows it in use rather than empty.

#include <string>

namespace tessaro {

class DemoDatabase {
public:
    DemoDatabase() = delete;

    static constexpr int kFavorites = 5;

    // Fills the shared database from the shared address book. Meant for the moment the
    // sample address book was added; a database that already holds favourites or memos is
    // left as it is. Everything is written in one transaction. The answer is one sentence
    // for the user.
    static std::string fill();
};

} // namespace tessaro
