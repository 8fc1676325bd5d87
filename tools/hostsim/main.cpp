// hostsim SCENARIO [--report FILE] [--sandbox FOLDER]: plays a scenario against add-on bundles in
// the simulated host and writes what happened. Exit status: 0 played, 1 bad arguments, 2 a
// malformed scenario, 3 a bundle that does not load. Its host's clock stands still at
// 2026-01-05 09:00:00 UTC and its GUIDs follow one fixed sequence, so a scenario's report is the
// same on every run and machine.
#include "HostProgram.h"
#include "ScenarioInput.h"

#include "sim/Clock.h"
#include "sim/Output.h"
#include "sim/Sim.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

namespace {

std::filesystem::path programFolder() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
}

int usage() {
    std::cerr << "usage: hostsim SCENARIO [--report FILE] [--sandbox FOLDER]\n";
    return 1;
}

// Plays the scenario into `path` + ".part", renamed to `path` when all of it is written; the part
// is removed when the scenario or the writing fails.
void writeReport(hostsim::HostProgram& program, const std::filesystem::path& path) {
    // The rename at the end would fail: fail before the scenario plays instead.
    std::error_code folder;
    if (std::filesystem::is_directory(path, folder)) {
        throw std::runtime_error("cannot write " + path.string() + ": it is a folder");
    }
    std::filesystem::path part = path;
    part += ".part";
    try {
        std::ofstream out(part);
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
        program.run(out);
        out.close();
        std::error_code error;
        if (out) {
            std::filesystem::rename(part, path, error);
        }
        if (!out || error) {
            throw std::runtime_error("cannot write " + path.string());
        }
    } catch (...) {
        std::error_code error;
        std::filesystem::remove(part, error);
        throw;
    }
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path scenarioPath, reportPath, sandbox;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if ((argument == "--report" || argument == "--sandbox") && i + 1 < argc) {
            (argument == "--report" ? reportPath : sandbox) = argv[++i];
        } else if (!argument.empty() && argument[0] != '-' && scenarioPath.empty()) {
            scenarioPath = argument;
        } else {
            return usage();
        }
    }
    if (scenarioPath.empty()) {
        return usage();
    }

    nlohmann::json scenario;
    try {
        scenario = hostsim::readJsonFile(scenarioPath, "the scenario");
    } catch (const hostsim::ScenarioError& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        return 2;
    }

    // A fresh sandbox of the host's folders for each run, unless one is given.
    bool temporary = sandbox.empty();
    if (temporary) {
        sandbox = std::filesystem::temp_directory_path() / ("hostsim-" + std::to_string(::getpid()));
        std::error_code error;
        std::filesystem::remove_all(sandbox, error);
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
    sim::setSandboxRoot(sandbox);
    sim::reset();
    // As the host does: elements change only inside an undoable command.
    sim::requireUndoScope(true);
    // Reproducible reports: one instant in UTC for every time the add-ons read or write; the reset
    // above started the GUIDs at their fixed seed.
    sim::setClock(2026, 1, 5, 9, 0, 0);
    sim::setUTCOffset(0);

    int status = 0;
    try {
        hostsim::HostProgram program(scenarioPath, programFolder());
        program.read(std::move(scenario));
        // A scenario that fails part way writes no report: printed, it is kept until the end; to a
        // file, it is written beside it as it goes and takes its place once the scenario has played.
        if (reportPath.empty()) {
            std::ostringstream report;
            program.run(report);
            std::cout << report.str();
        } else {
            writeReport(program, reportPath);
        }
    } catch (const hostsim::ScenarioError& error) {
        std::cerr << "hostsim: " << scenarioPath.string() << ": " << error.what() << "\n";
        status = 2;
    } catch (const hostsim::BundleError& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        status = 3;
    } catch (const std::exception& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        status = 1;
    }
    if (temporary) {
        std::error_code error;
        std::filesystem::remove_all(sandbox, error);
    }
    return status;
}
