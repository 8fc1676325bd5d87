// The host's file dialogs in a scenario: the answers a script step queues ("files": a file chosen
// with its filter, or "cancel"), and the report of the dialogs shown and of the files the scenario
// names ("reportFiles") and of the preference files the add-ons keep. The files lie in the
// sandbox.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace hostsim {

// Checks a script's "files"; throws ScenarioError after `context` for a malformed answer.
void checkFileAnswers(const nlohmann::json& answers, const std::string& context);
// Queues the answers in order; the number queued.
std::size_t queueFileAnswers(const nlohmann::json& answers);

// The names of a scenario's "reportFiles" (none when absent), checked; throws ScenarioError.
std::vector<std::string> readReportedFiles(const nlohmann::json& scenario);

// "file dialogs:": each dialog shown, its title, filters, pre-selected filter and outcome.
void reportFileDialogs(std::ostream& report);
// "files:": each named file with its content, or that it does not exist.
void reportFiles(std::ostream& report, const std::vector<std::string>& names);
// "preference files:": each file in the host's Preferences and SharedData folders, at any depth,
// with its content, each link there with its target (never followed), and each folder there that
// cannot be read.
void reportPreferenceFiles(std::ostream& report);

} // namespace hostsim
