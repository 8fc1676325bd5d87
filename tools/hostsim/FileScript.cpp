#include "FileScript.h"

#include "FileContent.h"
#include "HostProgram.h"
#include "ScenarioInput.h"

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"
#include "fileio/Folders.h"
#include "sim/FileDialogs.h"
#include "sim/Sim.h"

#include <sys/stat.h>

#include <map>
#include <sstream>

namespace hostsim {
namespace {

using nlohmann::json;

// What the preference listing shows of an entry: a file's content, a link's target, or why a
// folder cannot be read.
struct Listed {
    enum Kind { File, Link, Unreadable } kind = File;
    std::string text; // the file's lines as the report shows them, the link's target, or why the
                      // folder cannot be read
};

// Adds the regular files (with their content) and the links in the open folder `folder`, at any
// depth, to `found` under their names from `top` ("Preferences/Zelvane/x.xml"), and each folder
// that cannot be read wholly with why. Each entry is reached through the folder holding it. A link
// is listed as a link, never followed: where it leads is not the folder's, and may not even be the
// sandbox's by the time it is read.
void collect(int folder, const std::filesystem::path& named, fileio::Owners owners,
             std::map<std::filesystem::path, Listed>& found) {
    fileio::TreeWalk walk;
    walk.found = [&](const fileio::TreeEntry& entry, fileio::Descriptor&) {
        const std::filesystem::path path = named / entry.path;
        if (S_ISDIR(entry.status.st_mode)) {
            return fileio::Step::enter;
        }
        if (S_ISLNK(entry.status.st_mode)) {
            std::string target;
            fileio::Entry(entry.folder, entry.name).linkTarget(target);
            found.emplace(path, Listed{Listed::Link, target});
        } else if (S_ISREG(entry.status.st_mode)) {
            std::ostringstream content;
            writeFileContent(content, path.string(), fileio::Entry(entry.folder, entry.name),
                             "preference files: ", owners);
            found.emplace(path, Listed{Listed::File, content.str()});
        }
        return fileio::Step::next;
    };
    walk.left = [&](const fileio::TreeEntry& entry, const std::error_code& error) {
        if (error) {
            found[named / entry.path] = Listed{Listed::Unreadable, error.message()};
        }
        return fileio::Step::next;
    };
    if (const std::error_code error = fileio::walkTree(folder, walk)) {
        found[named] = Listed{Listed::Unreadable, error.message()};
    }
}

} // namespace

void checkFileAnswers(const json& answers, const std::string& context) {
    for (const json& answer : answers) {
        if (answer.is_string() && answer.get<std::string>() == "cancel") {
            continue;
        }
        if (!answer.is_object() || !answer.contains("file") || !answer["file"].is_string()) {
            throw ScenarioError(context +
                                "file dialog answers are \"cancel\" or {\"file\": name, \"filter\": n}");
        }
        sandboxedName(answer["file"].get<std::string>(), context);
        checkMembers(answer, vocabulary::fileAnswer, context);
        if (answer.contains("filter") && !isIntegerIn(answer["filter"], 0, 255)) {
            throw ScenarioError(context + "a file dialog's \"filter\" is an index from 0 to 255");
        }
    }
}

std::size_t queueFileAnswers(const json& answers) {
    for (const json& answer : answers) {
        if (answer.is_string()) {
            sim::queueFileDialogCancel();
            continue;
        }
        std::filesystem::path file = hostFolderFile("Documents", answer["file"].get<std::string>(), "");
        sim::queueFileDialogChoice(file, UInt32(answer.value("filter", 0)));
    }
    return answers.size();
}

std::vector<std::string> readReportedFiles(const json& scenario) {
    std::vector<std::string> names;
    if (!scenario.contains("reportFiles")) {
        return names;
    }
    const json& files = scenario["reportFiles"];
    if (!files.is_array()) {
        throw ScenarioError("\"reportFiles\" must be a list of file names");
    }
    for (const json& file : files) {
        if (!file.is_string()) {
            throw ScenarioError("\"reportFiles\" must be a list of file names");
        }
        sandboxedName(file.get<std::string>(), "reportFiles: ");
        names.push_back(file.get<std::string>());
    }
    return names;
}

void reportFileDialogs(std::ostream& report) {
    report << "file dialogs:\n";
    for (const sim::FileDialogRecord& dialog : sim::fileDialogs()) {
        report << "  type " << dialog.type << " " << escaped(dialog.title) << " filters [";
        for (std::size_t i = 0; i < dialog.filters.size(); ++i) {
            report << (i == 0 ? "" : ", ") << escaped(dialog.filters[i]);
        }
        report << "] selected " << dialog.preselected << ": "
               << (dialog.confirmed ? "confirmed" : "cancelled") << (dialog.scripted ? "" : " (not scripted)")
               << "\n";
    }
}

void reportFiles(std::ostream& report, const std::vector<std::string>& names) {
    if (names.empty()) {
        return;
    }
    report << "files:\n";
    for (const std::string& name : names) {
        const fileio::Entry file(hostFolderFile("Documents", name, "reportFiles: ").string());
        writeFileContent(report, name, file, "reportFiles: ");
    }
}

void reportPreferenceFiles(std::ostream& report) {
    report << "preference files:\n";
    for (const std::string folder : {"Preferences", "SharedData"}) {
        // The folder the host holds, with why it does not take one: another user's, say.
        std::error_code error;
        const fileio::Descriptor held = sim::openSpecialFolder(folder, error);
        std::map<std::filesystem::path, Listed> found;
        if (!held) {
            found[folder] = Listed{Listed::Unreadable, error.message()};
        } else {
            // The shared folder's files are every user's to change, as the host reads them.
            collect(held.get(), folder,
                    folder == "SharedData" ? fileio::Owners::anyUser : fileio::Owners::player, found);
        }
        for (const auto& [path, listed] : found) {
            const std::string name = path.string();
            if (listed.kind == Listed::Unreadable) {
                // The walk goes on past it: what else it finds is shown.
                report << "  " << escaped(name) << ": a folder that cannot be read, " << listed.text << "\n";
            } else if (listed.kind == Listed::Link) {
                report << "  " << escaped(name) << ": a link to " << escaped(listed.text) << "\n";
            } else {
                report << listed.text;
            }
        }
    }
}

} // namespace hostsim
