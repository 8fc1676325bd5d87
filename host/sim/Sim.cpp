#include "sim/Sim.h"

#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Paths.h"
#include "fileio/Rules.h"
#include "sim/Escaped.h"
#include "sim/Files.h"
#include "sim/TemporaryFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace sim {
namespace {

struct Fault {
    GSErrCode err = NoError;
    int times = 0; // < 0: forever
    int skip = 0;
    bool fired = false; // whether it has failed a call yet
};

// One logged call: its name by number and its code.
struct Logged {
    std::uint32_t name = 0;
    Int64 code = 0;
};

// The call log: each name kept once, numbered in the order first seen, with its count; the
// latest calls in a ring.
struct CallLog {
    std::deque<std::string> names; // stable, so that the index can view them
    std::unordered_map<std::string_view, std::uint32_t> numbers;
    // The numbers of names met lately, by where their text lay: most calls name themselves by the
    // same literal each time, so that this answers without hashing the text (a hit is checked
    // against the name's text, kept here beside its number so that the check reads nothing else:
    // the place may hold another text by then).
    struct Recent {
        static constexpr std::size_t room = 48; // longer names are not kept here
        const char* data = nullptr;
        std::size_t size = 0;
        std::uint32_t number = 0;
        char text[room] = {};
    };
    std::array<Recent, 64> recent;
    std::vector<std::size_t> counts; // by name number
    std::vector<Logged> ring;
    std::size_t next = 0; // where the next call goes once the ring is full
};

struct Core {
    CallLog log;
    std::map<std::string, Fault, std::less<>> faults;
    std::vector<ResetFunction> resets;
    std::vector<ResetFunction> projectClears;
    std::filesystem::path root;
    fileio::Descriptor rootFolder; // the root's folder, held open
};

Core& core() {
    static Core* instance = new Core; // never destroyed: host calls may come from static destructors
    return *instance;
}

std::uint32_t numberOf(CallLog& log, std::string_view call) {
    CallLog::Recent& recent =
        log.recent[(reinterpret_cast<std::uintptr_t>(call.data()) >> 3) % log.recent.size()];
    if (recent.data != nullptr && recent.data == call.data() && recent.size == call.size() &&
        std::memcmp(recent.text, call.data(), call.size()) == 0) {
        return recent.number;
    }
    auto found = log.numbers.find(call);
    if (found != log.numbers.end()) {
        if (call.size() <= CallLog::Recent::room) {
            recent.data = call.data();
            recent.size = call.size();
            recent.number = found->second;
            std::memcpy(recent.text, call.data(), call.size());
        }
        return found->second;
    }
    // An allocation that fails part way leaves the three as they were.
    auto number = std::uint32_t(log.names.size());
    log.counts.reserve(log.counts.size() + 1);
    log.names.emplace_back(call);
    try {
        log.numbers.emplace(log.names.back(), number);
    } catch (...) {
        log.names.pop_back();
        throw;
    }
    log.counts.push_back(0);
    return number;
}

} // namespace

void log(std::string_view call, Int64 code) {
    CallLog& log = core().log;
    std::uint32_t name = numberOf(log, call);
    if (log.ring.size() < callLogCapacity) {
        log.ring.push_back(Logged{name, code});
    } else {
        log.ring[log.next] = Logged{name, code};
        log.next = (log.next + 1) % callLogCapacity;
    }
    ++log.counts[name];
}

std::vector<CallRecord> calls() {
    const CallLog& log = core().log;
    std::vector<CallRecord> result;
    result.reserve(log.ring.size());
    for (std::size_t i = 0; i < log.ring.size(); ++i) {
        const Logged& call = log.ring[(log.next + i) % log.ring.size()];
        result.push_back(CallRecord{log.names[call.name], call.code});
    }
    return result;
}

std::size_t callCount(std::string_view call) {
    const CallLog& log = core().log;
    auto found = log.numbers.find(call);
    return found != log.numbers.end() ? log.counts[found->second] : 0;
}

void clearCalls() {
    CallLog& log = core().log;
    std::fill(log.counts.begin(), log.counts.end(), 0);
    log.ring.clear();
    log.next = 0;
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
    fault.fired = true;
    if (fault.times > 0 && --fault.times == 0) {
        faults.erase(it);
    }
    return err;
}

std::vector<std::string> unfiredFaults() {
    std::vector<std::string> names;
    for (const auto& [name, fault] : core().faults) {
        if (!fault.fired) {
            names.push_back(name);
        }
    }
    return names;
}

bool faultsPending() {
    return !core().faults.empty();
}

void clearFaults() {
    core().faults.clear();
}

GSErrCode enter(std::string_view call, Int64 code) {
    log(call, code);
    return core().faults.empty() ? NoError : injectedError(call);
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

namespace {

// Makes the root where it is missing, and holds it open.
void holdRoot(Core& c) {
    OwnFileCalls own;
    fileio::makeFolders(c.root.string());
    const fileio::Entry root(c.root.string());
    c.rootFolder.reset(root.error() ? -1 : root.open(O_RDONLY | O_DIRECTORY));
}

} // namespace

std::filesystem::path sandboxRoot() {
    Core& c = core();
    if (c.root.empty()) {
        const char* env = std::getenv("ZELVANE_HOST_ROOT");
        if (env != nullptr && *env != '\0') {
            // Taken from the working folder once, as read: the host's relative paths would move
            // with its current folder.
            std::error_code ec;
            c.root = std::filesystem::absolute(env, ec);
            if (ec) {
                throw std::runtime_error("ZELVANE_HOST_ROOT " + escaped(env) + ": " + ec.message());
            }
        } else {
            // Made once for the program, under a free name, and removed when it ends by the process
            // that made it: a child forked from it leaves it to its parent, which still uses it.
            static TemporaryFolder* made = nullptr;
            static pid_t maker = 0;
            if (made == nullptr) {
                made = new TemporaryFolder(TemporaryFolder::defaultParent(), "zelvane-host-");
                maker = ::getpid();
                std::atexit([] {
                    if (::getpid() != maker) {
                        return;
                    }
                    const std::string left = made->remove();
                    if (!left.empty()) {
                        std::cerr << "zelvane host: " << left << "\n";
                    }
                });
            }
            c.root = made->path();
        }
        holdRoot(c);
    }
    return c.root;
}

void setSandboxRoot(const std::filesystem::path& root) {
    Core& c = core();
    c.root = root;
    c.rootFolder.reset();
    if (!root.empty()) {
        holdRoot(c);
    }
}

bool sandboxInPlace() {
    const Core& c = core();
    if (c.root.empty()) {
        return true;
    }
    struct stat held {};
    struct stat now {};
    return c.rootFolder && ::fstat(c.rootFolder.get(), &held) == 0 &&
           fileio::Entry(c.root.string()).status(now) && fileio::sameNode(held, now);
}

bool sandboxHolds(int folder) {
    Core& c = core();
    sandboxRoot();
    return c.rootFolder && fileio::liesWithin(folder, c.rootFolder.get());
}

std::filesystem::path specialFolder(std::string_view name) {
    std::error_code error;
    return specialFolder(name, error);
}

std::filesystem::path specialFolder(std::string_view name, std::error_code& error) {
    const std::filesystem::path root = sandboxRoot();
    openSpecialFolder(name, error);
    return error ? std::filesystem::path() : root / std::string(name);
}

namespace {

// Why the entry at a special folder's name (where a link of the player's led), which could not be
// made or opened with `error`, is not taken: another user's entry of any kind
// (FileError::notPlayersFolder), or the player's that is not a folder (std::errc::not_a_directory);
// `error` where none stands.
std::error_code whyNotTaken(const fileio::Entry& entry, std::error_code error) {
    struct stat info {};
    if (!entry.status(info)) {
        return error;
    }
    if (const std::error_code theirs = fileio::whyNotPlayersFolder(info)) {
        return theirs;
    }
    return S_ISDIR(info.st_mode) ? error : std::make_error_code(std::errc::not_a_directory);
}

} // namespace

fileio::Descriptor openSpecialFolder(std::string_view name, std::error_code& error) {
    Core& c = core();
    sandboxRoot();
    error.clear();
    if (!c.rootFolder) {
        error = std::make_error_code(std::errc::bad_file_descriptor);
        return {};
    }
    // In the folder held, never again by the root's path: a sandbox moved away is not made anew.
    // The player's own link at the name is followed in that walk, under the rules, to a folder of
    // the sandbox; another user's entry of any kind is not taken.
    const OwnFileCalls own;
    const fileio::Entry named(c.rootFolder.get(), std::string(name));
    struct stat info {};
    const bool link = named.status(info) && S_ISLNK(info.st_mode);
    if (link && (error = fileio::whyNotPlayersFolder(info))) {
        return {};
    }
    // Every use after this one walks the folder's path again, the link with it: the link is taken
    // only where no other user may rename an entry on its way, so that the path still leads to the
    // folder held here (FileError::exposedWay).
    const fileio::Entry entry = link ? fileio::Entry(c.rootFolder.get(), std::string(name),
                                                     fileio::Entry::follow, fileio::Entry::Folders::unexposed)
                                     : fileio::Entry(c.rootFolder.get(), std::string(name));
    if (link && entry.error()) {
        error = entry.error();
        return {};
    }
    if (link && (entry.folder() < 0 || !fileio::liesWithin(entry.folder(), c.rootFolder.get()))) {
        error = std::make_error_code(std::errc::permission_denied); // a link out of the sandbox
        return {};
    }
    if ((error = entry.makeFolder())) {
        error = whyNotTaken(entry, error);
        return {};
    }
    fileio::Descriptor folder(entry.open(O_RDONLY | O_DIRECTORY));
    if (!folder || ::fstat(folder.get(), &info) != 0) {
        error = whyNotTaken(entry, std::error_code(errno, std::generic_category()));
        return {};
    }
    if ((error = fileio::whyNotPlayersFolder(info))) {
        return {};
    }
    return folder;
}

} // namespace sim
