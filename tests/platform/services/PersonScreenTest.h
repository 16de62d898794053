#pragma once
// The platform's person screens (the new-person form, the person card) as a person meets
// them, each test on a fresh profile: the address book in a temporary folder, the device at
// its defaults, a key window to show the screen in, the main run loop on a manual clock and
// the log captured.

#include "platform/contactstore/Forward.h"
#include "platform/foundation/Log.h"

#include "support/ManualTime.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ui {
class TextField;
class Window;
} // namespace ui

namespace servicestest {

class PersonScreenTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Touches the field and types, as a person does: what the field held is replaced.
    static void type(ui::TextField* field, const std::string& text);

    testsupport::TempDir folder;
    testsupport::ManualTime time;
    foundation::LogCapture log;
    contactstore::AddressBookRef book;
    std::shared_ptr<ui::Window> window;
};

} // namespace servicestest
