#pragma once
// The stand-in detail screen of one name: the name, a note field to type into, and
// buttons that hand a call to the device and copy the name.

#include "platform/ui/ViewController.h"

#include <string>

namespace tessaro::sample {

class SampleDetailController final : public ui::ViewController {
public:
    explicit SampleDetailController(std::string name);
    void viewDidLoad() override;

private:
    std::string m_name;
};

} // namespace tessaro::sample
