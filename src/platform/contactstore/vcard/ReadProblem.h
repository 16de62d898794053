#pragma once
// Something the reader has to say about a place in a vCard file: a fault that makes the
// file unreadable, or a warning about a value it had to leave out.

#include <string>

namespace contactstore::vcard {

struct ReadProblem {
    // 1-based line of the file where the problem is; 0 when it concerns the whole file.
    int line { 0 };
    std::string message;
    friend bool operator==(const ReadProblem&, const ReadProblem&) = default;
};

} // namespace contactstore::vcard
