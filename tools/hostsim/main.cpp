// hostsim SCENARIO [--report FILE] [--sandbox FOLDER], or hostsim --help: plays a scenario against
// add-on bundles in the simulated host and writes what happened. Exit status: 0 played, 1 bad
// arguments, 2 a scenario that cannot be played, 3 a bundle that is missing or does not load. Its
// host's clock stands still at 2026-01-05 09:00:00 UTC and its GUIDs follow one fixed sequence, so
// a scenario's report is the same on every run and machine.
#include "HostProgram.h"
#include "ReportFile.h"
#include "ScenarioInput.h"

#include "sim/Clock.h"
#include "sim/Output.h"
#include "sim/Sim.h"
#include "sim/TemporaryFolder.h"

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

namespace {

std::filesystem::path programFolder() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
}

const char* const usageLine = "usage: hostsim SCENARIO [--report FILE] [--sandbox FOLDER]\n"
                              "       hostsim --help\n";

int usage() {
    std::cerr << usageLine;
    return 1;
}

int help() {
    std::cout << usageLine << R"(
Plays SCENARIO, a JSON file that lists add-on bundles and steps (examples/README.md describes it),
in the simulated host: loads the bundles, plays the steps and prints a report of what happened.

  --report FILE     writes the report to FILE instead of standard output. FILE is written once
                    the whole scenario has played, and left as it was when the scenario fails
                    (a FIFO is then opened and closed, so that its reader sees its end, without
                    waiting for one): a regular FILE is replaced (the report written beside it
                    under a name that was free, then renamed over it) keeping its permissions, a
                    FIFO or character device written in place, and a link followed and kept,
                    what it leads to written as the kind it is (so /dev/stdout works). FILE is
                    refused before the scenario plays when it is a folder or another kind of
                    file, cannot be made (its folder missing or not writable, its name too
                    long), is a file the scenario has hostsim read (the scenario, a bundle, a
                    resource file, a project description or the file of a library part it
                    lists) or lies in the sandbox.
  --sandbox FOLDER  the host's folders (Documents, Preferences, SharedData, Temp) lie in FOLDER,
                    made as the host first uses them, and are kept; a relative FOLDER is taken
                    from the working folder. Without it, a new folder that only its user may
                    enter is made in TMPDIR (/tmp when unset or empty; a relative one is taken
                    from the working folder), where no user but its own and root may rename
                    entries, nor in any folder above it, and removed at the end through the
                    folder made: its links are removed, never followed, and should its name
                    lead elsewhere by then, that is left and the sandbox named in a message.
                    No link in FOLDER may lead out of it, and no file in it may have a second
                    hard link or be a FIFO or a device: hostsim checks that once, before it
                    plays, and neither the host's reads nor its writes check it again, so
                    FOLDER must not change while hostsim plays, reads included.
  --help            prints this help.

Bundles, resource files and project descriptions that the scenario names are looked for beside
the scenario, then in hostsim's own folder (the build folder, or DIR/bin once installed); absolute
names are taken as they are; a scenario, resource file or project description must be a regular
file of at most 64 MiB, and the report shows at most 64 MiB of a file (it says when it leaves one
out). Files the host writes (projects, preference files, files chosen in file dialogs) stay in
the sandbox: their names are relative to its Documents folder (a hostFile step's to the folder it
names) and may not lead out of it. A hostFile step replaces its file whole, keeping its
permissions.

Exit status:
  0  the scenario played.
  1  bad arguments: an option hostsim does not take, an empty FILE or FOLDER, a report FILE
     that cannot be written, is not a regular file, a FIFO or a character device, is a file the
     scenario has hostsim read or lies in the sandbox, a sandbox FOLDER that is not a folder
     (without one, a temporary folder that cannot be made, or a TMPDIR another user may rename
     entries in).
  2  a scenario that cannot be played (not JSON, a step or value it does not take, a resource
     file or project description it names missing, not a regular file or larger than 64 MiB, a
     file outside the sandbox, a link in the sandbox that leads out of it, a file of the
     sandbox with a second hard link, ...): the message names the file, step and member, and no
     report is written.
  3  a bundle that is missing, is not a regular file or does not load.
)";
    return 0;
}

// Plays the scenario, read from `scenarioPath`, in the sandbox set up, and writes its report to
// `reportFile` (standard output when null); answers the exit status.
int play(const std::filesystem::path& scenarioPath, hostsim::ReportFile* reportFile,
         nlohmann::json scenario) {
    try {
        hostsim::checkSandbox();
    } catch (const hostsim::ScenarioError& error) {
        // The sandbox's fault, not the scenario's: named without it.
        std::cerr << "hostsim: " << error.what() << "\n";
        return 2;
    }
    try {
        hostsim::HostProgram program(scenarioPath, programFolder());
        program.read(std::move(scenario));
        if (reportFile != nullptr) {
            reportFile->check(program.inputFiles());
        }
        // A scenario that fails part way writes no report: it is kept until the end, then printed
        // or written to the report file whole.
        std::ostringstream report;
        program.run(report);
        if (reportFile == nullptr) {
            std::cout << report.str();
        } else if (std::error_code error = reportFile->write(report.str())) {
            throw std::runtime_error("cannot write " + hostsim::escaped(reportFile->path().string()) + ": " +
                                     error.message());
        }
        return 0;
    } catch (const hostsim::ScenarioError& error) {
        std::cerr << "hostsim: " << hostsim::escaped(scenarioPath.string()) << ": " << error.what() << "\n";
        return 2;
    } catch (const hostsim::BundleError& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        return 3;
    } catch (const std::exception& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        return 1;
    }
}

// Reads the scenario, sets up the sandbox (a temporary one when `sandbox` is empty), plays and
// removes a temporary sandbox; answers the exit status.
int run(const std::filesystem::path& scenarioPath, hostsim::ReportFile* reportFile,
        std::filesystem::path sandbox) {
    nlohmann::json scenario;
    try {
        scenario = hostsim::readJsonFile(scenarioPath, "the scenario");
    } catch (const hostsim::ScenarioError& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        return 2;
    }

    // A fresh sandbox of the host's folders for each run, unless one is given.
    std::unique_ptr<sim::TemporaryFolder> temporary;
    if (sandbox.empty()) {
        try {
            temporary =
                std::make_unique<sim::TemporaryFolder>(sim::TemporaryFolder::defaultParent(), "hostsim-");
        } catch (const std::exception& error) {
            std::cerr << "hostsim: cannot make a temporary sandbox: " << error.what() << "\n";
            return 1;
        }
        sandbox = temporary->path();
    } else {
        // The host reads a relative path from its own current folder inside the sandbox, where a
        // relative root's folders are not.
        std::error_code error;
        sandbox = std::filesystem::absolute(sandbox, error);
        if (error) {
            std::cerr << "hostsim: the sandbox folder: " << error.message() << "\n";
            return 1;
        }
    }
    // Made here rather than as the host first uses it, so that a sandbox that cannot be one fails
    // as the argument it is.
    std::error_code made;
    std::filesystem::create_directories(sandbox, made);
    std::error_code type;
    if (!std::filesystem::is_directory(sandbox, type)) {
        std::error_code exists;
        std::cerr << "hostsim: cannot use the sandbox " << hostsim::escaped(sandbox.string()) << ": "
                  << (std::filesystem::exists(sandbox, exists) ? "it is not a folder" : made.message())
                  << "\n";
        return 1;
    }
    sim::setSandboxRoot(sandbox);
    sim::reset();
    // As the host does: elements change only inside an undoable command.
    sim::requireUndoScope(true);
    // Reproducible reports: one instant in UTC for every time the add-ons read or write; the reset
    // above started the GUIDs at their fixed seed.
    sim::setClock(2026, 1, 5, 9, 0, 0);
    sim::setUTCOffset(0);

    int status = play(scenarioPath, reportFile, std::move(scenario));
    if (temporary) {
        const std::string left = temporary->remove();
        if (!left.empty()) {
            std::cerr << "hostsim: " << left << "\n";
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path scenarioPath;
    std::optional<std::filesystem::path> reportPath, sandbox;
    std::optional<int> refused;
    for (int i = 1; i < argc && !refused; ++i) {
        std::string argument = argv[i];
        if (argument == "--help") {
            return help();
        }
        if ((argument == "--report" || argument == "--sandbox") && i + 1 < argc) {
            std::optional<std::filesystem::path>& named = argument == "--report" ? reportPath : sandbox;
            named = argv[++i];
            // An empty name would quietly mean standard output or a temporary sandbox.
            if (named->empty()) {
                std::cerr << "hostsim: " << argument << " \"\" names no file\n";
                refused = 1;
            }
        } else if (!argument.empty() && argument[0] != '-' && scenarioPath.empty()) {
            scenarioPath = argument;
        } else {
            refused = usage();
        }
    }
    if (!refused && scenarioPath.empty()) {
        refused = usage();
    }
    // Looked at before anything is read or played. A FIFO or device is kept open from here on, so
    // that whoever reads it sees its end however hostsim ends, with a report or without one.
    std::optional<hostsim::ReportFile> reportFile;
    if (reportPath && !reportPath->empty()) {
        try {
            reportFile.emplace(*reportPath);
        } catch (const std::exception& error) {
            if (!refused) {
                std::cerr << "hostsim: " << error.what() << "\n";
                refused = 1;
            }
        }
    }
    return refused ? *refused : run(scenarioPath, reportFile ? &*reportFile : nullptr, sandbox.value_or(""));
}
