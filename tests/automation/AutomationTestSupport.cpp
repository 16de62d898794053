#include "AutomationTestSupport.h"

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
    if (!tree.is_object())
        return std::nullopt;
    if (auto found = tree.find(field); found != tree.end() && found->is_string() && found->get<std::string>() == value)
        return tree;
    if (auto children = tree.find("children"); children != tree.end()) {
        for (const auto& child : *children) {
            if (auto node = findNode(child, field, value))
                return node;
        }
    }
    return std::nullopt;
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
