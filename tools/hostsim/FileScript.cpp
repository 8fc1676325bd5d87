#include "FileScript.h"

#include "FileContent.h"
#include "HostProgram.h"
#include "ScenarioInput.h"

#include "sim/FileDialogs.h"
#include "sim/Sim.h"

namespace hostsim {
namespace {

using nlohmann::json;

std::filesystem::path documents() {
    return sim::specialFolder("Documents");
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

} // namespace hostsim
