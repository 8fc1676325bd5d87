#include "sim/Sim.h"

#include <cstdlib>
#include <map>
#include <unistd.h>

namespace sim {
namespace {

struct Fault {
    GSErrCode err = NoError;
    int times = 0; // < 0: forever
    int skip = 0;
};

struct Core {
    std::vector<CallRecord> calls;
    std::map<std::string, Fault, std::less<>> faults;
    std::vector<ResetFunction> resets;
    std::vector<ResetFunction> projectClears;
    std::filesystem::path root;
};

Core& core() {
    static Core* instance = new Core; // never destroyed: host calls may come from static destructors
    return *instance;
}

} // namespace

void log(std::string_view call, Int64 code) {
    core().calls.push_back(CallRecord{std::string(call), code});
}

const std::vector<CallRecord>& calls() {
    return core().calls;
}

std::size_t callCount(std::string_view call) {
    std::size_t n = 0;
    for (const CallRecord& record : core().calls) {
        if (record.name == call) {
            ++n;
        }
    }
    return n;
}

void clearCalls() {
    core().calls.clear();
}

void failCall(std::string_view call, GSErrCode err, int times, int skip) {
    core().faults[std::string(call)] = Fault{err, times, skip};
}

GSErrCode injectedError(std::string_view call) {
    auto& faults = core().faults;
    auto it = faults.find(call);
    if (it == faults.end()) {
        return NoError;
    }
    Fault& fault = it->second;
    if (fault.skip > 0) {
        --fault.skip;
        return NoError;
    }
    GSErrCode err = fault.err;
    if (fault.times > 0 && --fault.times == 0) {
        faults.erase(it);
    }
    return err;
}

void clearFaults() {
    core().faults.clear();
}

GSErrCode enter(std::string_view call, Int64 code) {
    log(call, code);
    return injectedError(call);
}

bool registerReset(ResetFunction fn) {
    core().resets.push_back(fn);
    return true;
}

void reset() {
    clearCalls();
    clearFaults();
    for (ResetFunction fn : core().resets) {
        fn();
    }
}

bool registerProjectClear(ResetFunction fn) {
    core().projectClears.push_back(fn);
    return true;
}

void clearProject() {
    for (ResetFunction fn : core().projectClears) {
        fn();
    }
}

std::filesystem::path sandboxRoot() {
    Core& c = core();
    if (c.root.empty()) {
        const char* env = std::getenv("ZELVANE_HOST_ROOT");
        if (env != nullptr && *env != '\0') {
            c.root = env;
        } else {
            c.root = std::filesystem::temp_directory_path() / ("zelvane-host-" + std::to_string(::getpid()));
        }
        std::error_code ec;
        std::filesystem::create_directories(c.root, ec);
    }
    return c.root;
}

void setSandboxRoot(const std::filesystem::path& root) {
    core().root.clear();
    if (!root.empty()) {
        core().root = root;
        std::error_code ec;
        std::filesystem::create_directories(root, ec);
    }
}

std::filesystem::path specialFolder(std::string_view name) {
    std::filesystem::path folder = sandboxRoot() / std::string(name);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

} // namespace sim
