#pragma once
// Lookups in the trees of views that the automation driver's dump answers with, for tests
// that drive the application through it. The driver's answers come ordered or plain,
// depending on the test, so the lookups take either kind of JSON value.

#include <optional>
#include <string>

namespace testsupport {

// The first node of the tree (depth first) whose field is the text given.
template <class Json>
std::optional<Json> findNode(const Json& tree, const std::string& field, const std::string& value)
{
    if (!tree.is_object())
        return std::nullopt;
    if (auto found = tree.find(field); found != tree.end() && found->is_string() && found->template get<std::string>() == value)
        return tree;
    if (auto children = tree.find("children"); children != tree.end()) {
        for (const auto& child : *children) {
            if (auto node = findNode(child, field, value))
                return node;
        }
    }
    return std::nullopt;
}

} // namespace testsupport
