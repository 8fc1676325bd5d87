#include "sim/Files.h"

#include "IO/Internal.hpp"
#include "fileio/Faults.h"
#include "sim/Sim.h"

#include <algorithm>

namespace sim {
namespace {

struct FileState {
    bool limited = false;
    std::size_t budget = 0;
    GSErrCode err = NoError;
    std::size_t open = 0;
};

FileState& state() {
    static FileState* instance = new FileState; // host calls may come from static destructors
    return *instance;
}

// How deep the host's own file work is nested on this thread.
thread_local int ownDepth = 0;

// Files left open keep their count: they belong to whoever opened them.
const bool registered = registerReset([] {
    FileState& s = state();
    s.limited = false;
    s.budget = 0;
    s.err = NoError;
});

} // namespace

void failCreate(GSErrCode err, int times, int skip) {
    failCall(fileCreateCall, err, times, skip);
    failCall(folderCreateCall, err, times, skip);
}

void failOpen(GSErrCode err, int times, int skip) {
    failCall(fileOpenCall, err, times, skip);
}

void failRead(GSErrCode err, int times, int skip) {
    failCall(fileReadCall, err, times, skip);
}

void failFlush(GSErrCode err, int times, int skip) {
    failCall(fileFlushCall, err, times, skip);
}

void failRename(GSErrCode err, int times, int skip) {
    failCall(renameCall, err, times, skip);
}

void failDelete(GSErrCode err, int times, int skip) {
    failCall(deleteCall, err, times, skip);
}

void failWritesAfter(std::size_t bytes, GSErrCode err) {
    FileState& s = state();
    s.limited = true;
    s.budget = bytes;
    s.err = err;
}

std::size_t openFileCount() {
    return state().open;
}

OwnFileCalls::OwnFileCalls() {
    ++ownDepth;
}

OwnFileCalls::~OwnFileCalls() {
    --ownDepth;
}

namespace {

// The file layer's calls that the framework makes, failed as the host's calls of their kind are.
int fileioFault(fileio::Call call, int folder, std::size_t* bytes) {
    if (ownDepth > 0) {
        return 0;
    }
    // The host changes nothing outside its sandbox, through its own calls or the file library's.
    if (folder >= 0 && !sandboxHolds(folder)) {
        return ErrPermission;
    }
    GSErrCode err = NoError;
    switch (call) {
    case fileio::Call::makeFile:
        err = enter(fileCreateCall);
        break;
    case fileio::Call::makeFolder:
        err = enter(folderCreateCall);
        break;
    case fileio::Call::write:
        err = enter(fileWriteCall, bytes != nullptr ? Int64(*bytes) : 0);
        if (bytes != nullptr) {
            *bytes = err != NoError ? 0 : IO::internal::writeAllowance(*bytes, &err);
        }
        break;
    case fileio::Call::rename:
        err = enter(renameCall);
        break;
    case fileio::Call::remove:
        err = enter(deleteCall);
        break;
    }
    return err;
}

// Set as the host's library loads, before any file call of the process (the layer is the one the
// bundles call too), and taken back as it unloads: a second copy of the library, loaded as a bundle
// and refused, leaves the first copy's hook set, and no hook pointing into its unloaded code.
struct FaultsHooked {
    FaultsHooked() { fileio::setFaultHook(fileioFault); }
    ~FaultsHooked() { fileio::takeBackFaultHook(fileioFault); }
    FaultsHooked(const FaultsHooked&) = delete;
    FaultsHooked& operator=(const FaultsHooked&) = delete;
};
const FaultsHooked faultsHooked;

} // namespace

} // namespace sim

namespace IO {
namespace internal {

std::size_t writeAllowance(std::size_t count, GSErrCode* err) {
    sim::FileState& s = sim::state();
    *err = NoError;
    if (!s.limited) {
        return count;
    }
    std::size_t allowed = std::min(count, s.budget);
    s.budget -= allowed;
    if (allowed < count) {
        *err = s.err;
    }
    return allowed;
}

void fileOpened() {
    ++sim::state().open;
}

void fileClosed() {
    if (sim::state().open > 0) {
        --sim::state().open;
    }
}

} // namespace internal
} // namespace IO
