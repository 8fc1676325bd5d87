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

// Adds the regular files in `folder`, at any depth, to `found`, and each folder that cannot be read
// wholly with why. A link is followed to a file, not into a folder.
void collect(const std::filesystem::path& folder, std::map<std::filesystem::path, std::string>& found) {
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code type;
        if (it->symlink_status(type).type() == std::filesystem::file_type::directory) {
            collect(it->path(), found);
        } else if (it->is_regular_file(type)) {
            found.emplace(it->path(), "");
        }
    }
    if (error) {
        found[folder] = error.message();
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
        std::map<std::filesystem::path, std::string> found;
        collect(root, found);
        for (const auto& [path, unread] : found) {
            const std::string name = path.lexically_relative(root).string();
            if (!unread.empty()) {
                // The walk goes on past it: what else it finds is shown.
                report << "  " << escaped(path == root ? folder : folder + "/" + name)
                       << ": a folder that cannot be read, " << unread << "\n";
                continue;
            }
            // A link in the folder is read only when it leads to a file of the sandbox.
            sandboxedFile(root, name, "preference files: ");
            writeFileContent(report, folder + "/" + name, path, "preference files: ");
        }
    }
}

} // namespace hostsim
