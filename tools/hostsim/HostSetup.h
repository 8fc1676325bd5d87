// What a scenario sets up in the host beside its project: files put in the host's folders (a
// "hostFile" step, such as a damaged file an add-on reads next) and failures of host calls (a
// script's "faults", such as a file system that cannot rename a file).
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace hostsim {

// Checks a "hostFile" step; throws ScenarioError after `context`.
void checkHostFile(const nlohmann::json& step, const std::string& context);
// Writes the step's file, whole beside it and renamed over it; answers the step's report line.
// Throws ScenarioError when the file cannot be written or is not a regular file (a folder).
std::string placeHostFile(const nlohmann::json& step);

// Checks a script's "faults"; throws ScenarioError after `context`.
void checkFaults(const nlohmann::json& faults, const std::string& context);
// Makes the host calls fail as listed; answers how many were listed.
std::size_t queueFaults(const nlohmann::json& faults);

} // namespace hostsim
