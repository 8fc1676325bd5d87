#include "sim/Files.h"

#include "IO/Internal.hpp"
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
