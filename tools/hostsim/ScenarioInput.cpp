#include "ScenarioInput.h"

#include "HostProgram.h"

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"
#include "fileio/Folders.h"
#include "fileio/ReadWhole.h"
#include "fileio/Rules.h"
#include "sim/JsonText.h"
#include "sim/ReadFile.h"
#include "sim/ReplaceFile.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace hostsim {

using nlohmann::json;

json readJsonFile(const std::filesystem::path& path, const std::string& kind) {
    std::string text;
    if (std::error_code error = fileio::readWhole(fileio::Entry(path.string()), text, inputFileLimit)) {
        const std::string named = kind + " " + escaped(path.string());
        if (error == std::errc::invalid_argument) {
            const std::string special = sim::notAFile(path);
            throw ScenarioError(named + " is " +
                                (special.empty() ? "no longer a regular file" : special + ", not a file"));
        }
        if (error == std::errc::file_too_large) {
            throw ScenarioError(named + " holds more than the " + std::to_string(inputFileLimit >> 20) +
                                " MiB hostsim reads of a file");
        }
        throw ScenarioError("cannot read " + named + ": " + error.message());
    }
    std::string reason;
    json value = sim::parseJson(text, reason);
    if (value.is_discarded()) {
        throw ScenarioError(kind + " " + escaped(path.string()) + " is not valid JSON: " + reason);
    }
    return value;
}

void checkMembers(const json& object, const vocabulary::Members& members, const std::string& context) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!members.contains(it.key())) {
            throw ScenarioError(context + "unknown member " + escaped(it.key()) + " of " +
                                std::string(members.object()));
        }
    }
}

bool isIntegerIn(const json& value, Int64 low, Int64 high) {
    if (value.is_number_unsigned()) {
        UInt64 number = value.get<UInt64>();
        return high >= 0 && number <= UInt64(high) && (low < 0 || number >= UInt64(low));
    }
    return value.is_number_integer() && value.get<Int64>() >= low && value.get<Int64>() <= high;
}

void checkFileName(const std::string& name, const std::string& context) {
    if (name.find('\0') != std::string::npos) {
        throw ScenarioError(context + "the file " + escaped(name) + " holds a NUL character");
    }
}

std::filesystem::path sandboxedName(const std::string& name, const std::string& context) {
    checkFileName(name, context);
    std::filesystem::path path = std::filesystem::path(name).lexically_normal();
    std::string why;
    if (name.empty()) {
        why = "is empty";
    } else if (path.has_root_path()) {
        why = "is absolute";
    } else if (!path.has_filename() || path.filename() == "." || path.filename() == "..") {
        why = "names a folder";
    } else if (*path.begin() == "..") {
        why = "leads out of the sandbox";
    }
    if (!why.empty()) {
        throw ScenarioError(context + "the file " + escaped(name) + " " + why +
                            ": the host writes it in its sandbox, so give a name relative to it");
    }
    return path;
}

namespace {

// Whether `path`, with every link followed, lies inside `root` with every link followed; false
// when either cannot be followed.
bool leadsInto(const std::filesystem::path& path, const std::filesystem::path& root) {
    std::error_code error;
    std::filesystem::path into = sim::followedPath(root, error);
    std::filesystem::path resolved = error ? std::filesystem::path() : sim::followedPath(path, error);
    auto inside = std::mismatch(into.begin(), into.end(), resolved.begin(), resolved.end());
    return !error && inside.first == into.end();
}

} // namespace

bool liesInSandbox(const std::filesystem::path& path) {
    std::error_code error;
    // Joined to the working folder by name alone; leadsInto walks it through the file layer.
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return !error && leadsInto(absolute, sim::sandboxRoot());
}

std::filesystem::path sandboxedFile(const std::filesystem::path& folder, const std::string& name,
                                    const std::string& context) {
    if (folder.empty()) {
        // A host folder the host does not take (sim::specialFolder), never a path of the working
        // folder.
        throw ScenarioError(context + "the folder of the file " + escaped(name) +
                            " is not one the host holds");
    }
    std::filesystem::path file = folder / sandboxedName(name, context);
    // The folder itself may be a link: the file must lie in the folder and the folder in the
    // sandbox, each with its links followed.
    const std::filesystem::path root = sim::sandboxRoot();
    if (leadsInto(file, folder) && leadsInto(folder, root)) {
        return file;
    }
    std::error_code error;
    std::filesystem::path target = sim::followedPath(file, error);
    std::string why = "leads out of the sandbox";
    if (error) {
        why = "cannot be followed: " + error.message();
    } else if (leadsInto(file, root) && leadsInto(folder, root)) {
        // Inside, but in another of the sandbox's folders than the one it is named in.
        std::filesystem::path rootFollowed = sim::followedPath(root, error);
        why = "leads out of " + folder.lexically_relative(root).string() + ", to " +
              escaped(target.lexically_relative(rootFollowed).string()) + " in the sandbox";
    }
    throw ScenarioError(context + "the file " + escaped(name) + " " + why);
}

std::filesystem::path hostFolderFile(std::string_view folder, const std::string& name,
                                     const std::string& context) {
    std::error_code error;
    const std::filesystem::path path = sim::specialFolder(folder, error);
    if (path.empty()) {
        throw ScenarioError(context + "the folder of the file " + escaped(name) +
                            " is not taken: " + error.message());
    }
    return sandboxedFile(path, name, context);
}

namespace {

// Checks the entries of the sandbox's open folder `folder`, at any depth, each reached through the
// folder above it, never through a link.
void checkSandboxFolder(int folder, const std::filesystem::path& root) {
    const std::string cannot = "cannot read the sandbox " + escaped(root.string()) + ": ";
    fileio::TreeWalk walk;
    walk.found = [&root](const fileio::TreeEntry& entry, fileio::Descriptor&) {
        const struct stat& info = entry.status;
        auto held = [&root, &entry] {
            return "the sandbox " + escaped(root.string()) + " holds " + escaped(entry.path) + ", ";
        };
        if (S_ISDIR(info.st_mode)) {
            return fileio::Step::enter;
        }
        if (S_ISREG(info.st_mode)) {
            // Another name of the file may lie outside: a write to it, or a change of its
            // permissions, would reach there.
            if (info.st_nlink > 1) {
                throw ScenarioError(held() + "a file with " + std::to_string(info.st_nlink) +
                                    " hard links, which may reach out of the sandbox");
            }
            return fileio::Step::next;
        }
        if (!S_ISLNK(info.st_mode)) {
            // Opening it would block the host or never end.
            throw ScenarioError(held() + fileio::kindOf(info.st_mode) + ", not a file, a folder or a link");
        }
        // A link's target is checked instead of walked: a folder it leads to inside the sandbox is
        // walked on its own.
        if (!leadsInto(root / entry.path, root)) {
            std::error_code follow;
            sim::followedPath(root / entry.path, follow);
            throw ScenarioError(
                held() + "a link that " +
                (follow ? "cannot be followed: " + follow.message() : "leads out of the sandbox"));
        }
        return fileio::Step::next;
    };
    walk.left = [&cannot](const fileio::TreeEntry&, const std::error_code& error) {
        if (error) {
            throw ScenarioError(cannot + error.message());
        }
        return fileio::Step::next;
    };
    if (const std::error_code error = fileio::walkTree(folder, walk)) {
        throw ScenarioError(cannot + error.message());
    }
}

} // namespace

void checkSandbox() {
    const std::filesystem::path root = sim::sandboxRoot();
    const fileio::Entry entry(root.string());
    const fileio::Descriptor folder(entry.error() ? -1 : entry.open(O_RDONLY | O_DIRECTORY));
    if (!folder) {
        throw ScenarioError(
            "cannot read the sandbox " + escaped(root.string()) + ": " +
            (entry.error() ? entry.error() : std::error_code(errno, std::generic_category())).message());
    }
    checkSandboxFolder(folder.get(), root);
}

sim::SettingsAnswer readSettingsAnswer(const json& answer, const std::string& context) {
    sim::SettingsAnswer result;
    if (answer.is_boolean()) {
        result.accept = answer.get<bool>();
        return result;
    }
    if (!answer.is_object()) {
        throw ScenarioError(context + "settingsDialog answers are true, false or {\"part\", \"values\"}");
    }
    result.accept = true;
    checkMembers(answer, vocabulary::settingsAnswer, context + "settingsDialog: ");
    for (auto it = answer.begin(); it != answer.end(); ++it) {
        if (it.key() == "part") {
            if (!it.value().is_string() || it.value().get<std::string>().empty()) {
                throw ScenarioError(context + "settingsDialog: \"part\" must be the name of a library part");
            }
            result.part = it.value().get<std::string>();
        } else if (it.key() == "values") {
            if (!it.value().is_object()) {
                throw ScenarioError(context +
                                    "settingsDialog: \"values\" must map parameter names to values");
            }
            for (auto value = it.value().begin(); value != it.value().end(); ++value) {
                sim::SettingsValue set;
                set.name = value.key();
                if (set.name.empty() || set.name.size() > 31) {
                    throw ScenarioError(context + "settingsDialog: a parameter name must have 1 to 31 bytes");
                }
                if (value.value().is_string()) {
                    set.isText = true;
                    set.text = value.value().get<std::string>();
                } else if (value.value().is_number() && std::isfinite(value.value().get<double>())) {
                    set.number = value.value().get<double>();
                } else if (value.value().is_boolean()) {
                    set.number = value.value().get<bool>() ? 1.0 : 0.0;
                } else {
                    throw ScenarioError(context + "settingsDialog: the value of " + escaped(set.name) +
                                        " must be a number, a text or true or false");
                }
                result.values.push_back(set);
            }
        }
    }
    return result;
}

} // namespace hostsim
