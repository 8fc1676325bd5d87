// The simulated operating system around the host: keyboard, launch services, the application
// preferences and Core Foundation objects. Tests and the host program set it up and inspect it.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace sim {

// Keyboard: virtual key codes 0 to 127 held down until released; reset releases them all.
void pressKey(unsigned int code);
void releaseKey(unsigned int code);
void releaseAllKeys();

// Launch services: nothing is really launched. Every open is recorded with what it answered.
struct Launch {
    std::string kind;   // "application", "file" or "url"
    std::string target; // the path, or the URL text
    Int32 status = 0;
};
// Makes an application bundle of that name (a folder "<name>.app" under the sandbox) that the
// launch services find by name; answers its path, or an empty one where the host refuses the
// Applications folder (see specialFolder).
std::filesystem::path installApplication(std::string const& name);
const std::vector<Launch>& launches();
// The answer of the following opens that would otherwise succeed (0 by default).
void setLaunchResult(Int32 status);

// Application preferences: each application's values are kept in memory and written to a file
// under the sandbox root when synchronised: its path, or an empty one where the host does not take
// its settings folder (see specialFolder), which then neither reads nor writes them.
std::filesystem::path settingsFile(std::string const& applicationID);
// The application ID of the running application's preferences.
extern const char* const currentApplicationID;
// Whether synchronising succeeds (true by default); a failed one writes nothing.
void setSettingsSyncResult(bool succeeds);
// Forgets the preferences in memory, as a restarted application would: they are read from the
// file again on next use.
void reloadSettings();

// Core Foundation objects alive now (made and not yet released).
std::size_t liveCFObjects();

} // namespace sim
