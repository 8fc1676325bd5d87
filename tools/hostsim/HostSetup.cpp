#include "HostSetup.h"

#include "HostProgram.h"
#include "ScenarioInput.h"

#include "ACAPI/ErrorCodes.hpp"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Paths.h"
#include "fileio/Rules.h"
#include "sim/Files.h"
#include "sim/ReplaceFile.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

namespace hostsim {
namespace {

using nlohmann::json;

std::string folderOf(const json& step) {
    return step.contains("folder") ? step["folder"].get<std::string>() : "Preferences";
}

} // namespace

void checkHostFile(const json& step, const std::string& context) {
    if (!step["hostFile"].is_string()) {
        throw ScenarioError(context + "\"hostFile\" must name a file");
    }
    const auto& folders = vocabulary::hostFolders;
    if (step.contains("folder") &&
        (!step["folder"].is_string() || std::find(std::begin(folders), std::end(folders),
                                                  step["folder"].get<std::string>()) == std::end(folders))) {
        throw ScenarioError(context + "\"folder\" must be Preferences, SharedData, Documents or Temp");
    }
    if (!step.contains("text") || !step["text"].is_string()) {
        throw ScenarioError(context + "\"text\" must be the file's content");
    }
    sandboxedName(step["hostFile"].get<std::string>(), context);
}

namespace {

// The failure of a host file after `cannot`: the folder `shown`, taken to hold it, is not taken for
// `why` (another user's, by default).
ScenarioError notTaken(const std::string& shown, const std::string& cannot,
                       std::error_code why = fileio::FileError::notPlayersFolder) {
    return ScenarioError(cannot + "the folder " + escaped(shown) + " is not taken: " + why.message());
}

// The framework's shared preference folder, right under the host's SharedData: every user is to
// change it and its preference file, so another user's folder at its name is taken, and their file
// in it replaced.
constexpr const char* sharedFolder = "Zelvane";

// Whether the file `name` of the host folder `folder` lies in the framework's shared preference
// folder, where another user's regular file is replaced as the player's (fileio::Owners::anyUser).
bool inSharedFolder(const std::string& folder, const std::filesystem::path& name) {
    return folder == "SharedData" && name.parent_path() == sharedFolder;
}

// The entry of the file `name` names in the host folder `folder`, in one walk from the special
// folder held through the sandbox's root, which holds each folder it reaches: a sandbox moved
// meanwhile is written where it is now, never made again at its old path. Each folder of the name
// is made where missing, a link on the way followed under the rules from the folder that holds it,
// and each folder it leads to taken only where it lies in the sandbox and is the player's or root's,
// as it is held. The one exception is the framework's shared preference folder (sharedFolder), and
// the file in it: another user's folder standing at that name is taken, and it holds the file,
// where no link stands in their place. Throws ScenarioError after `cannot`.
fileio::Entry heldEntry(const std::string& folder, const std::filesystem::path& name,
                        const std::string& cannot) {
    std::error_code error;
    fileio::Descriptor at = sim::openSpecialFolder(folder, error);
    if (!at && !sim::sandboxInPlace()) {
        throw ScenarioError(cannot + "the sandbox was moved or removed during the play");
    }
    if (!at) {
        throw notTaken(folder, cannot, error); // another user's entry, or no folder of the player's
    }
    // The folder held, named as the walk met it: below the host folder, its links resolved.
    std::string held = folder;
    // The entry `part` of the folder held, walked as the player's, inside the sandbox; with
    // `everyUsers`, the entry standing at the name in whichever user's folder, where it is no link.
    // Answers the entry, and whether it was taken so.
    auto walk = [&](const std::string& part, bool everyUsers) {
        fileio::Entry named(at.get(), part);
        struct stat info {};
        if (everyUsers && !(named.status(info) && S_ISLNK(info.st_mode))) {
            return std::make_pair(std::move(named), true);
        }
        fileio::Entry entry(at.get(), part, fileio::Entry::follow, fileio::Entry::Folders::players);
        if (entry.error() == fileio::FileError::notPlayersFolder) {
            // Where the walk refused: a folder on the way, or the one held, which the player's own
            // folder or link at the name may lie in.
            throw notTaken(fileio::namedFrom(held, entry.path()), cannot);
        }
        if (entry.error() || entry.folder() < 0) {
            throw ScenarioError(cannot + (entry.error() ? entry.error() : entry.missing()).message());
        }
        if (!sim::sandboxHolds(entry.folder())) {
            throw ScenarioError(cannot + "it leads out of the sandbox");
        }
        return std::make_pair(std::move(entry), false);
    };
    bool top = true;
    for (const std::filesystem::path& part : name.parent_path()) {
        const auto [entry, everyUsers] =
            walk(part.string(), top && folder == "SharedData" && part == sharedFolder);
        top = false;
        error = entry.makeFolder();
        struct stat info {};
        // Opened never following a link: a link put at the name since the look is no folder.
        fileio::Descriptor next(error ? -1 : entry.open(O_RDONLY | O_DIRECTORY));
        if (!error && (!next || ::fstat(next.get(), &info) != 0)) {
            error = std::error_code(errno, std::generic_category());
        }
        if (!error && !everyUsers) {
            error = fileio::whyNotPlayersFolder(info);
        }
        if (error == fileio::FileError::notPlayersFolder) {
            throw notTaken(fileio::namedFrom(held, entry.path()),
                           cannot); // where the name, or a link at it, led
        }
        if (error) {
            throw ScenarioError(cannot + error.message());
        }
        at = std::move(next);
        held = fileio::namedFrom(held, entry.path());
    }
    return walk(name.filename().string(), inSharedFolder(folder, name)).first;
}

} // namespace

std::string placeHostFile(const json& step) {
    std::string folder = folderOf(step);
    std::string name = step["hostFile"].get<std::string>();
    std::error_code refused;
    const std::filesystem::path root = sim::specialFolder(folder, refused);
    std::string cannot = "cannot write the host file " + escaped(folder + "/" + name) + ": ";
    if (root.empty()) {
        throw notTaken(folder, cannot, refused);
    }
    // Checked before its folders are made, so that no folder is made through a link leading out.
    // The sandbox was checked before the play (no link out of it, no file with a second hard link)
    // and must not change while hostsim plays, reads included, for neither this step nor the host
    // checks it again: the check holds until the file is replaced.
    std::filesystem::path file = sandboxedFile(root, name, "");
    cannot = "cannot write the host file " + escaped(file.string()) + ": ";
    // hostsim's own work, not the add-on's: the host neither logs nor fails it.
    const sim::OwnFileCalls own;
    const fileio::Entry target = heldEntry(folder, sandboxedName(name, ""), cannot);
    struct stat info {};
    if (target.status(info) && !S_ISREG(info.st_mode)) {
        throw ScenarioError(cannot + "it is " + fileio::kindOf(info.st_mode) + ", not a file");
    }
    std::string text = step["text"].get<std::string>();
    // Written beside and renamed over, as the framework writes its files.
    const fileio::Owners owners =
        inSharedFolder(folder, sandboxedName(name, "")) ? fileio::Owners::anyUser : fileio::Owners::player;
    if (const std::error_code error = sim::replaceFile(target, text, owners)) {
        throw ScenarioError(cannot + error.message());
    }
    return "host file " + escaped(folder + "/" + name) + " written, " + std::to_string(text.size()) +
           " bytes";
}

void checkFaults(const json& faults, const std::string& context) {
    for (const json& fault : faults) {
        std::string where = context + "faults: ";
        if (!fault.is_object() || !fault.contains("call") || !fault["call"].is_string() ||
            fault["call"].get<std::string>().empty()) {
            throw ScenarioError(where + "each fault names the host \"call\" that fails");
        }
        checkMembers(fault, vocabulary::fault, where);
        if (fault.contains("error") &&
            (!isIntegerIn(fault["error"], INT32_MIN, INT32_MAX) || fault["error"].get<Int64>() == 0)) {
            throw ScenarioError(where + "\"error\" must be a host error code other than 0");
        }
        // 0 is refused: it reads as failing no call, yet the host would fail every one.
        if (fault.contains("times") && (!isIntegerIn(fault["times"], -1, INT32_MAX) || fault["times"] == 0)) {
            throw ScenarioError(where + "\"times\" must be a count from 1, or -1 for every call");
        }
        if (fault.contains("skip") && !isIntegerIn(fault["skip"], 0, INT32_MAX)) {
            throw ScenarioError(where + "\"skip\" must be a count");
        }
    }
}

std::size_t queueFaults(const json& faults) {
    for (const json& fault : faults) {
        GSErrCode error = fault.contains("error") ? GSErrCode(fault["error"].get<Int64>()) : APIERR_GENERAL;
        sim::failCall(fault["call"].get<std::string>(), error, fault.value("times", 1),
                      fault.value("skip", 0));
    }
    return faults.size();
}

} // namespace hostsim
