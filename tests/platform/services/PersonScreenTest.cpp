#include "PersonScreenTest.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

namespace servicestest {

using contactstore::AccessControl;

void PersonScreenTest::SetUp()
{
    foundation::setLogToStandardError(false);
    foundation::Device::current().reset();
    AccessControl::setAccessRefused(false);
    foundation::DataLocations::setProfileDirectory(folder.path());
    book = contactstore::AddressBook::create();
    ASSERT_TRUE(book);
    window = std::make_shared<ui::Window>(ui::Screen::mainScreen().bounds());
    window->makeKeyAndVisible();
}

void PersonScreenTest::TearDown()
{
    ui::ButtonPanel::discardAll();
    window.reset();
    ui::Application::shared().reset();
    AccessControl::setAccessRefused(false);
    foundation::Device::current().reset();
    foundation::setLogToStandardError(true);
}

void PersonScreenTest::type(ui::TextField* field, const std::string& text)
{
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->becomeFirstResponder());
    field->replaceTextFromInput(text);
}

} // namespace servicestest
