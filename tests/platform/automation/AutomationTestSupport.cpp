#include "AutomationTestSupport.h"

#include "support/JsonTree.h"

#include "platform/foundation/Device.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Pasteboard.h"

namespace automationtest {

void resetDevice()
{
    ui::ButtonPanel::discardAll();
    ui::Application::shared().reset();
    ui::Pasteboard::generalPasteboard().reset();
    foundation::Device::current().reset();
}

std::optional<json> findNode(const json& tree, const std::string& field, const std::string& value)
{
    return testsupport::findNode(tree, field, value);
}

std::vector<std::string> textsIn(const json& tree)
{
    std::vector<std::string> texts;
    if (!tree.is_object())
        return texts;
    if (auto text = tree.find("text"); text != tree.end() && text->is_string() && !text->get<std::string>().empty())
        texts.push_back(text->get<std::string>());
    if (auto children = tree.find("children"); children != tree.end()) {
        for (const auto& child : *children) {
            auto inner = textsIn(child);
            texts.insert(texts.end(), inner.begin(), inner.end());
        }
    }
    return texts;
}

} // namespace automationtest
