#include "FileScript.h"

#include "FileContent.h"
#include "HostProgram.h"
#include "ScenarioInput.h"

#include "sim/FileDialogs.h"
#include "sim/Sim.h"

#include <map>

namespace hostsim {
namespace {

using nlohmann::json;

std::filesystem::path documents() {
    return sim::specialFolder("Documents");
}

// What the preference listing shows of an entry: a file's content, a link's target, or why a
// folder cannot be read.
struct Listed {
    enum Kind { File, Link, Unreadable } kind = File;
    std::string text; // the link's target, or why the folder cannot be read
};

// Adds the regular files and the links in `folder`, at any depth, to `found`, and each folder that
// cannot be read wholly with why. A link is listed as a link, never followed: where it leads is
// not the folder's, and may not even be the sandbox's by the time it is read.
void collect(const std::filesystem::path& folder, std::map<std::filesystem::path, Listed>& found) {
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code type;
        const std::filesystem::file_type kind = it->symlink_status(type).type();
        if (kind == std::filesystem::file_type::directory) {
            collect(it->path(), found);
        } else if (kind == std::filesystem::file_type::symlink) {
            std::error_code unread;
            const std::filesystem::path target = std::filesystem::read_symlink(it->path(), unread);
            found.emplace(it->path(), Listed{Listed::Link, unread ? "" : target.string()});
        } else if (kind == std::filesystem::file_type::regular) {
            found.emplace(it->path(), Listed{});
        }
    }
    if (error) {
        found[folder] = Listed{Listed::Unreadable, error.message()};
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
        std::filesystem::path file = sandboxedFile(documents(), answer["file"].get<std::string>(), "");
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
        writeFileContent(report, name, sandboxedFile(documents(), name, "reportFiles: "), "reportFiles: ");
    }
}

void reportPreferenceFiles(std::ostream& report) {
    report << "preference files:\n";
    for (const std::string folder : {"Preferences", "SharedData"}) {
        const std::filesystem::path root = sim::specialFolder(folder);
        std::map<std::filesystem::path, Listed> found;
        collect(root, found);
        for (const auto& [path, listed] : found) {
            const std::string name =
                path == root ? folder : folder + "/" + path.lexically_relative(root).string();
            if (listed.kind == Listed::Unreadable) {
                // The walk goes on past it: what else it finds is shown.
                report << "  " << escaped(name) << ": a folder that cannot be read, " << listed.text << "\n";
            } else if (listed.kind == Listed::Link) {
                report << "  " << escaped(name) << ": a link to " << escaped(listed.text) << "\n";
            } else {
                writeFileContent(report, name, path, "preference files: ");
            }
        }
    }
}

} // namespace hostsim
