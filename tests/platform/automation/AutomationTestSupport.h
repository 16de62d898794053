#pragma once
// What the automation tests share: a clean device for each test, and lookups in the
// answers of the driver.

#include <nlohmann/json.hpp>

#include <optional>
#include <vector>
#include <string>

namespace automationtest {

using json = nlohmann::ordered_json;

// Puts the global parts of the device back (handed-off URLs, alerts, pasteboard).
void resetDevice();

// The first node of a dump's tree (depth first) whose field equals the value.
std::optional<json> findNode(const json& tree, const std::string& field, const std::string& value);
// Every text shown in the tree, depth first.
std::vector<std::string> textsIn(const json& tree);

} // namespace automationtest
