// Runs the host program on a scenario as a user would, answering its exit status and everything it
// printed.
#pragma once

#include "sim/Sim.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace hostsim_test {

inline const std::filesystem::path binaryDir = ZELVANE_BINARY_DIR;
inline const std::filesystem::path sourceDir = ZELVANE_SOURCE_DIR;

struct HostsimRun {
    int status = -1;
    std::string output; // standard output and error
};

// A shell command run, with what it prints to standard output.
inline HostsimRun runCommand(const std::string& command) {
    HostsimRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), n);
    }
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// hostsim run with `arguments` as the shell reads them; `streams` redirects what it prints, both
// streams kept by default (" 2>/dev/null" keeps standard output only, " 2>&1 >/dev/null" standard
// error only).
inline HostsimRun runHostsimWith(const std::string& arguments, const std::string& streams = " 2>&1") {
    return runCommand((binaryDir / "hostsim").string() + arguments + streams);
}

inline HostsimRun runHostsim(const std::filesystem::path& scenario, const std::string& options = "") {
    return runHostsimWith(" \"" + scenario.string() + "\"" + options);
}

// A scenario or description written to the test's temporary folder.
inline std::filesystem::path writeScenario(const std::string& name, const std::string& text) {
    std::filesystem::path path = sim::specialFolder("Temp") / name;
    std::ofstream(path) << text;
    return path;
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace hostsim_test
