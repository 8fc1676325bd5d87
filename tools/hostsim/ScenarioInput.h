// The checks hostsim makes of what a user gives it: JSON files read whole from regular files of a
// bounded size and nested within a bound, integers read by the kind of number the file holds, and
// the names of files the host writes kept inside the sandbox, which holds no link out of it.
#pragma once

#include "ScenarioVocabulary.h"

#include "GSRoot/GSRoot.hpp"
#include "sim/ReadFile.h"
#include "sim/Toolbox.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <string_view>

namespace hostsim {

// The most bytes hostsim reads of a scenario, a project description, a resource file or a file the
// report shows.
using sim::inputFileLimit;

// The JSON value of a file, read through the file layer (fileio::readWhole); throws ScenarioError
// naming `kind` (such as "the scenario") and the path when the file is missing, not a regular file
// (a folder, a FIFO, a device), refused by the file rules, unreadable, larger than inputFileLimit,
// not JSON, nested too deeply or gives one key twice in an object.
nlohmann::json readJsonFile(const std::filesystem::path& path, const std::string& kind);

// Throws ScenarioError (after `context`) naming the first member of `object` that `members` does
// not name.
void checkMembers(const nlohmann::json& object, const vocabulary::Members& members,
                  const std::string& context);

// Whether the value is an integer from low to high. Integers of 2^63 or more are held unsigned
// and reals are not integers, so neither passes for a wrapped or truncated value.
bool isIntegerIn(const nlohmann::json& value, Int64 low, Int64 high);

// Throws ScenarioError (after `context`) for the name of a file holding a NUL character, which the
// file system would take only up to it.
void checkFileName(const std::string& name, const std::string& context);

// The name of a file the host writes, made relative to the sandbox folder it is written in;
// throws ScenarioError (after `context`) for an empty name, one holding a NUL character, an
// absolute one, a folder, or one that leads out of the folder.
std::filesystem::path sandboxedName(const std::string& name, const std::string& context);

// Whether `path`, with every link followed, lies in the sandbox.
bool liesInSandbox(const std::filesystem::path& path);

// The file `name` (checked by sandboxedName) inside `folder`, a folder of the sandbox, where the
// host writes it; throws ScenarioError when a link, a dangling one too, leads the file out of the
// folder (saying where it leads when that is another folder of the sandbox) or the folder out of
// the sandbox, and when `folder` is empty (a host folder the host does not take).
std::filesystem::path sandboxedFile(const std::filesystem::path& folder, const std::string& name,
                                    const std::string& context);
// The file `name` in the host's special folder `folder` (sim::specialFolder), as sandboxedFile
// takes it; throws ScenarioError (after `context`) where the host does not take the folder, saying
// why: another user's entry at its name, or the player's that is not a folder (a link too).
std::filesystem::path hostFolderFile(std::string_view folder, const std::string& name,
                                     const std::string& context);

// Throws ScenarioError when the sandbox folder holds, at any depth, a link that leads out of it (a
// dangling one too), a file with more than one hard link (its other names may lie outside), or an
// entry that is neither a file, a folder nor a link (a FIFO, which would block whoever opens it),
// or when a folder of it cannot be read: the host and the add-ons would write through such a link
// outside the sandbox. The sandbox is checked once, before the play, and neither the host's reads
// nor its writes check it again: it must not change while the scenario plays.
void checkSandbox();

// One answer of a "settingsDialog" script: true or false (accepted or cancelled as shown), or an
// object that accepts the dialog with the library part "part" (a name) and the parameter values
// "values" (numbers or texts by parameter name) set; throws ScenarioError after `context`.
sim::SettingsAnswer readSettingsAnswer(const nlohmann::json& answer, const std::string& context);

} // namespace hostsim
