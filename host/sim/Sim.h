// The simulated host's core: the call log, fault injection, the state reset and the sandbox.
// Tests and the host program use it; the framework never includes host/sim/.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "fileio/Descriptor.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace sim {

struct CallRecord {
    std::string name;
    Int64 code = 0; // the request code or main argument of the call, 0 when it has none
};

// Host interface calls are logged here (memory and character services are not: they are too
// frequent to be worth it). The log keeps the latest calls and a count of every call by name, so
// that a long run holds it in bounded memory.
void log(std::string_view call, Int64 code = 0);
// How many of the latest calls the log keeps.
constexpr std::size_t callLogCapacity = std::size_t(1) << 16;
// The latest calls since the log was cleared, at most callLogCapacity of them, oldest first.
std::vector<CallRecord> calls();
// How often the call was made since the log was cleared, however many calls followed it.
std::size_t callCount(std::string_view call);
void clearCalls();

// Makes the named host call fail with err: after `skip` successful calls, the next `times`
// calls answer err (times < 0: every call from then on).
void failCall(std::string_view call, GSErrCode err, int times = 1, int skip = 0);
// The error injected for this call, consuming it; NoError when none is pending.
GSErrCode injectedError(std::string_view call);
// The calls whose injected error has failed no call yet, by name: a name no host call answers to
// (a misspelt one), or a call made fewer times than the fault skips.
std::vector<std::string> unfiredFaults();
// Whether any injected error is pending: with none, no call needs to name itself further.
bool faultsPending();
void clearFaults();

// What every host interface function does first: logs the call and answers an injected error.
GSErrCode enter(std::string_view call, Int64 code = 0);

// Each part of the simulated host registers how to return to its initial state; reset() runs
// them all (in registration order) and clears the call log and pending faults. Live memory
// blocks are kept: they belong to whoever allocated them.
using ResetFunction = void (*)();
bool registerReset(ResetFunction fn);
void reset();

// The parts that hold the open project's content (its elements and what belongs to them, its
// databases and storeys) register how to empty it; clearProject() runs them when the project
// closes, so that the next project starts empty. Host-wide state (tool defaults, the call log,
// faults) stays.
bool registerProjectClear(ResetFunction fn);
void clearProject();

// Root of the host's folders on disk, made on first use and held open from then on:
// $ZELVANE_HOST_ROOT (a relative one taken from the working folder as it is read), or else a new
// folder in the temporary folder that only the program's user may enter, removed when the program
// ends (std::runtime_error when it cannot be made, see TemporaryFolder).
std::filesystem::path sandboxRoot();
// Moves the sandbox root, made where it is missing and held open; the test main gives each test
// process its own. An empty path sets it anew on next use.
void setSandboxRoot(const std::filesystem::path& root);
// Whether the root's path still leads to the folder held as the root (the same device and inode):
// false once the sandbox was moved away, removed or replaced, say during a play. True while no root
// is set.
bool sandboxInPlace();
// Whether the open folder `folder` is the folder held as the root or lies below it.
bool sandboxHolds(int folder);

// The host's special folders, each a folder in the sandbox root, made on first use through the
// folder held (never by the root's path again, so that a sandbox moved away is not made anew):
// "Preferences" (user preferences, 'pref'), "SharedData" ('sdat'), "Documents", "Temp", "Home",
// "Current", "LocalData" (specialFolderNames lists them all). Every part of the host that names one
// of them goes through here. The host holds a folder at that name, or where the player's own link
// there leads inside the sandbox: a folder it could not take has an empty path, with `error` (where
// given) saying why, as openSpecialFolder does.
std::filesystem::path specialFolder(std::string_view name);
std::filesystem::path specialFolder(std::string_view name, std::error_code& error);
// The special folder `name`, made where it is missing and opened through the root held: its
// descriptor, or none with `error` saying why. Another user's entry of any kind at the name (a
// folder, a link, a file, a FIFO, a device) does not hold the player's files, wherever it stands:
// fileio::FileError::notPlayersFolder. The player's own link is followed, under the rules, to the
// folder it leads to in the sandbox (one leading out is std::errc::permission_denied), and only
// where no other user may rename an entry on its way from the sandbox's root, for each later use
// walks it again (fileio::FileError::exposedWay). The folder it leads to is taken as any other: the
// player's or root's, as it is held. The player's own entry that is no folder is
// std::errc::not_a_directory. A root moved away still leads to its folder, a removed one to none.
fileio::Descriptor openSpecialFolder(std::string_view name, std::error_code& error);
// Every name the host takes a special folder by.
inline constexpr std::string_view specialFolderNames[] = {
    "Preferences", "SharedData", "Documents", "Temp",        "Home",        "Current",
    "LocalData",   "Library",    "Settings",  "Application", "Applications"};

} // namespace sim
